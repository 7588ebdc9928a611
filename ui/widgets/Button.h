// A label that raises the click (41) when released over it or on Space and Return.
#pragma once

#include "widgets/Label.h"

namespace ui {

template <typename Base = Control>
class ButtonTemplate : public LabelTemplate<Base> {
 public:
  ButtonTemplate() { this->text_style_ = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS; }

  bool AcceptsTabFocus() const override { return this->IsKeyboardEnabled() && this->IsEnabled(); }

  void Activate() override {
    if (!this->IsActivatable() || !this->window_) return;
    this->window_->SendNotify(this, kEventClick);
  }

  void HandleMessage(EventArgs& args) override {
    const int type = args.Type;
    if (!this->IsMouseEnabled() && type >= kEventMouseMove && type <= kEventMouseScrollWheel) {
      this->Bubble(args);
      return;
    }
    if (type == kEventKeyDown && this->IsKeyboardEnabled() &&
        (args.chKey == VK_SPACE || args.chKey == VK_RETURN)) {
      Activate();
      return;
    }
    if (type == kEventInternalMenu) {
      if (this->IsContextMenuUsed() && this->window_)
        this->window_->SendNotify(this, kEventMouseMenu, args.wParam, args.lParam);
      return;
    }
    LabelTemplate<Base>::HandleMessage(args);
  }
};

using Button = ButtonTemplate<Control>;
using ButtonBox = ButtonTemplate<Box>;

}  // namespace ui
