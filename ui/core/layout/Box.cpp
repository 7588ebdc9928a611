#include "layout/Box.h"

#include <algorithm>

#include "render/RenderInterfaces.h"
#include "window/Window.h"

namespace ui {

Box::Box(Layout* layout) : layout_(layout) { layout_->SetOwner(this); }

Box::~Box() {
  delayed_destroy_ = false;
  RemoveAll();
}

void Box::SetWindow(Window* window, Box* parent, bool init) {
  for (Control* child : items_) child->SetWindow(window, this, init);
  Control::SetWindow(window, parent, init);
}

SIZE Box::EstimateSize(SIZE available) {
  SIZE fixed = {cx_fixed_, cy_fixed_};
  if (!IsAutoSized()) return fixed;
  if (!re_estimate_) return estimated_size_;
  const RECT padding = layout_->GetPadding();
  available.cx -= padding.left + padding.right;
  available.cy -= padding.top + padding.bottom;
  const SIZE needed = layout_->AjustSizeByChild(items_, available);
  re_estimate_ = false;
  if (cx_fixed_ == kSizeAuto) fixed.cx = needed.cx;
  if (cy_fixed_ == kSizeAuto) fixed.cy = needed.cy;
  for (Control* child : items_) {
    const bool auto_sized =
        child->GetFixedWidth() == kSizeAuto || child->GetFixedHeight() == kSizeAuto;
    if (child->IsVisible() && auto_sized && child->IsReEstimateSize()) re_estimate_ = true;
  }
  estimated_size_ = fixed;
  return fixed;
}

void Box::SetPos(RECT rect) {
  Control::SetPos(rect);
  if (items_.empty()) return;
  layout_->ArrangeChild(items_, GetPaddingPos());
}

RECT Box::GetPaddingPos() const {
  const RECT padding = layout_->GetPadding();
  return RECT{rect_.left + padding.left, rect_.top + padding.top, rect_.right - padding.right,
              rect_.bottom - padding.bottom};
}

void Box::SetInternVisible(bool visible) {
  Control::SetInternVisible(visible);
  for (Control* child : items_) child->SetInternVisible(IsVisible());
}

void Box::SetVisible(bool visible) {
  Control::SetVisible(visible);
  for (Control* child : items_) child->SetInternVisible(IsVisible());
}

void Box::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  state_ = enabled ? kControlStateNormal : kControlStateDisabled;
  Invalidate();
  for (Control* child : items_) child->SetEnabled(enabled);
  Invalidate();
}

Control* Box::FindControl(const FindControlCallback& callback, void* data, unsigned flags,
                          POINT scroll_offset) {
  if ((flags & kFindVisible) && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabled()) return nullptr;
  POINT point = {0, 0};
  if (flags & kFindHitTest) {
    point = *static_cast<POINT*>(data);
    if (!PtInRect(&rect_, point)) return nullptr;
    if (!mouse_child_) return Control::FindControl(callback, data, flags);
  }
  if (flags & kFindMeFirst) {
    if (Control* found = Control::FindControl(callback, data, flags)) return found;
  }
  const RECT content = GetPaddingPos();
  POINT child_point = {point.x + scroll_offset.x, point.y + scroll_offset.y};
  void* child_data = (flags & kFindHitTest) ? &child_point : data;
  const ChildList children = items_;
  auto ask = [&](Control* child) -> Control* {
    Control* found = child->FindControl(callback, child_data, flags);
    if (!found) return nullptr;
    if (!(flags & kFindHitTest) || found->IsFloat() || PtInRect(&content, point)) return found;
    return nullptr;
  };
  if (flags & kFindTopFirst) {
    for (auto it = children.rbegin(); it != children.rend(); ++it)
      if (Control* found = ask(*it)) return found;
  } else {
    for (Control* child : children)
      if (Control* found = ask(child)) return found;
  }
  if (!(flags & kFindMeFirst)) return Control::FindControl(callback, data, flags);
  return nullptr;
}

void Box::HandleMessageTemplate(EventArgs& args) {
  if (args.Type < kEventNone) {
    HandleMessage(args);
    return;
  }
  std::weak_ptr<base::WeakFlag> flag = GetWeakFlag();
  const std::function<bool()> alive = [flag] { return !flag.expired(); };
  bool result = true;
  if (args.pSender == this) {
    if (!RunHandlerLists(event_map_, &args, result, alive)) return;
    if (result && !RunHandlerLists(xml_event_map_, &args, result, alive)) return;
  }
  // Code-attached bubbled handlers see every event, own or bubbled, whatever came before.
  if (!RunHandlerLists(bubbled_event_map_, &args, result, alive)) return;
  if (result && !RunHandlerLists(xml_bubbled_event_map_, &args, result, alive)) return;
  if (result) HandleMessage(args);
}

void Box::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (layout_->SetAttribute(name, value)) return;
  if (name == L"mousechild")
    SetMouseChildEnabled(value == L"true");
  else
    Control::SetAttribute(name, value);
}

void Box::PaintChild(IRenderContext* context, const RECT& dirty) {
  RECT unused;
  if (!IntersectRect(&unused, &dirty, &rect_)) return;
  for (Control* child : ChildList(items_))
    if (child->IsVisible()) child->AlphaPaint(context, dirty);
}

void Box::GifPlay() {
  Control::GifPlay();
  for (Control* child : items_) child->GifPlay();
}

void Box::StopGifPlay() {
  Control::StopGifPlay();
  for (Control* child : items_) child->StopGifPlay();
}

void Box::ClearImageCache() {
  Control::ClearImageCache();
  for (Control* child : items_) child->ClearImageCache();
}

Control* Box::GetItemAt(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return items_[index];
}

int Box::GetItemIndex(Control* control) const {
  auto found = std::find(items_.begin(), items_.end(), control);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

bool Box::SetItemIndex(Control* control, int index) {
  const int current = GetItemIndex(control);
  if (index >= GetCount() || index < 0 || current < 0) return false;
  Arrange();
  items_.erase(items_.begin() + current);
  items_.insert(items_.begin() + index, control);
  return true;
}

bool Box::Add(Control* control) { return AddAt(control, GetCount()); }

bool Box::AddAt(Control* control, int index) {
  if (!control || index < 0 || index > GetCount()) return false;
  if (window_) window_->InitControls(control, this);
  else control->SetParent(this);
  if (IsVisible())
    Arrange();
  else
    control->SetInternVisible(false);
  items_.insert(items_.begin() + index, control);
  return true;
}

void Box::Destroy(Control* child) {
  if (delayed_destroy_ && window_)
    window_->AddDelayedCleanup(child);
  else
    delete child;
}

bool Box::Remove(Control* control) {
  const int index = GetItemIndex(control);
  if (!control || index < 0) return false;
  Arrange();
  // Out of the list first: the child's destruction must not find itself still listed.
  items_.erase(items_.begin() + index);
  if (auto_destroy_) Destroy(control);
  else control->SetParent(nullptr);
  return true;
}

bool Box::RemoveAt(int index) {
  Control* control = GetItemAt(index);
  return control && Remove(control);
}

void Box::RemoveAll() {
  ChildList children;
  children.swap(items_);
  if (auto_destroy_) {
    for (Control* child : children) Destroy(child);
  } else {
    for (Control* child : children) child->SetParent(nullptr);
  }
  Arrange();
}

void Box::ReSetLayout(Layout* layout) {
  layout_.reset(layout);
  layout_->SetOwner(this);
}

}  // namespace ui
