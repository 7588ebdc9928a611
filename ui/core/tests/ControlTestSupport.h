// Shared pieces of the control, layout and window tests: a window that never gets a native
// handle and records what it is asked to repaint, and a control that logs its events.
#pragma once

#include <string>
#include <vector>

#include "control/Control.h"
#include "render/RenderInterfaces.h"
#include "window/Window.h"

namespace ui {

class RecordingWindow : public Window {
 public:
  void Invalidate(const RECT& rect) override {
    invalidated.push_back(rect);
    Window::Invalidate(rect);
  }
  // Text is measured through this context (the window owns it).
  void UseRenderContext(IRenderContext* context) { render_context_.reset(context); }
  std::vector<RECT> invalidated;
};

// A plain control that logs every event reaching its own handling, and counts Activate.
class LoggingControl : public Control {
 public:
  void HandleMessage(EventArgs& args) override {
    log.push_back(args.Type);
    Control::HandleMessage(args);
  }
  void Activate() override { ++activations; }
  std::vector<int> log;
  int activations = 0;
};

}  // namespace ui
