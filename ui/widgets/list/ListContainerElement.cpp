#include "widgets/list/ListContainerElement.h"

#include "window/Window.h"

namespace ui {

ListContainerElement::ListContainerElement() { receive_pointer_ = false; }

void ListContainerElement::OptionSelected(bool selected, bool trigger) {
  selected_ = selected;
  if (window_ && trigger) window_->SendNotify(this, selected ? kEventSelect : kEventUnSelect);
  Invalidate();
}

void ListContainerElement::Selected(bool selected, bool trigger) {
  if (!IsEnabled() || !selected || !owner_) return;
  owner_->SelectItem(index_, false, trigger);
}

void ListContainerElement::Activate() {
  if (!IsActivatable()) return;
  if (window_) window_->SendNotify(this, kEventClick);
  if (IsActivatable()) Selected(true, true);
}

void ListContainerElement::SetFadeVisible(bool visible) {
  Box::SetFadeVisible(visible);
  if (IsVisible() || !selected_) return;
  selected_ = false;
  if (owner_) owner_->SelectItem(-1, false, true);
}

void ListContainerElement::HandleMessage(EventArgs& args) {
  const int type = args.Type;
  if (!IsMouseEnabled() && type >= kEventMouseMove && type <= kEventMouseScrollWheel) {
    if (owner_)
      owner_->HandleMessageTemplate(args);
    else
      Control::HandleMessage(args);
    return;
  }
  if (type == kEventInternalDoubleClick) {
    if (!IsActivatable()) return;
    EventArgs double_click;
    double_click.Type = kEventMouseDoubleClick;
    double_click.pSender = this;
    double_click.dwTimestamp = GetTickCount();
    if (window_) double_click.ptMouse = window_->GetLastMousePos();
    HandleMessageTemplate(double_click);
    return;
  }
  if (type == kEventKeyDown && args.chKey == VK_RETURN && IsEnabled()) {
    if (IsActivatable() && window_) window_->SendNotify(this, kEventReturn);
    return;
  }
  if (type == kEventInternalMenu && IsEnabled()) {
    Selected(true, true);
    if (window_) window_->SendNotify(this, kEventMouseMenu);
    Invalidate();
    return;
  }
  Box::HandleMessage(args);
}

}  // namespace ui
