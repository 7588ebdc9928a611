#include "widgets/list/ListContainerElement.h"

#include "window/Window.h"

namespace ui {

ListContainerElement::ListContainerElement() {
  SetTextStyle(DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
  receive_pointer_ = false;
}

void ListContainerElement::ClearSelectedFlag() {
  selected_ = false;
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
  OptionTemplate<Box>::SetFadeVisible(visible);
  if (IsVisible() || !selected_) return;
  ClearSelectedFlag();
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
  OptionTemplate<Box>::HandleMessage(args);
}

}  // namespace ui
