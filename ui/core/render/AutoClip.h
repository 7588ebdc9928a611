// Clips a render context for the lifetime of the guard.
#pragma once

#include "render/RenderInterfaces.h"

namespace ui {

class AutoClip {
 public:
  AutoClip(IRenderContext* context, const RECT& rect, bool clip = true);
  AutoClip(IRenderContext* context, const RECT& rect, int width, int height, bool clip = true);
  ~AutoClip();
  AutoClip(const AutoClip&) = delete;
  AutoClip& operator=(const AutoClip&) = delete;

 private:
  IRenderContext* context_;
  bool clipped_;
};

}  // namespace ui
