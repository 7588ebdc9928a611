#include "control/PlaceHolder.h"

#include "layout/Box.h"
#include "layout/ScrollableBox.h"
#include "render/RenderInterfaces.h"
#include "system/DpiManager.h"
#include "widgets/ScrollBar.h"
#include "window/Window.h"

namespace ui {

PlaceHolder::PlaceHolder() = default;
PlaceHolder::~PlaceHolder() = default;

void PlaceHolder::SetWindow(Window* window, Box* parent, bool init) {
  window_ = window;
  parent_ = parent;
  if (init && parent_) Init();
}

SIZE PlaceHolder::EstimateSize(SIZE) { return SIZE{cx_fixed_, cy_fixed_}; }

RECT PlaceHolder::GetPos(bool) const { return rect_; }

int PlaceHolder::ScaleByDpi(int value) { return DpiManager::GetInstance()->ScaleInt(value); }

bool PlaceHolder::ParseSizeValue(const std::wstring& value, int& size) {
  if (value == L"stretch") {
    size = kSizeStretch;
  } else if (value == L"auto") {
    size = kSizeAuto;
  } else {
    size = _wtoi(value.c_str());
    if (size < kSizeAuto) return false;
    if (size > 0) size = ScaleByDpi(size);
  }
  return true;
}

void PlaceHolder::SetFixedWidth(int width, bool arrange, bool dpi_scale) {
  if (width < kSizeAuto) return;
  if (width > 0 && dpi_scale) width = ScaleByDpi(width);
  if (width == cx_fixed_) return;
  cx_fixed_ = width;
  if (arrange)
    ArrangeAncestor();
  else
    re_estimate_ = true;
}

void PlaceHolder::SetFixedHeight(int height, bool dpi_scale) {
  if (height < kSizeAuto) return;
  if (height > 0 && dpi_scale) height = ScaleByDpi(height);
  if (height == cy_fixed_) return;
  cy_fixed_ = height;
  ArrangeAncestor();
}

void PlaceHolder::StoreLimit(int& field, int value) {
  if (value == field) return;
  field = value;
  if (float_)
    Arrange();
  else
    ArrangeAncestor();
}

void PlaceHolder::SetMinWidth(int width) {
  if (width < 0) return;
  StoreLimit(cx_min_, ScaleByDpi(width));
}

void PlaceHolder::SetMinHeight(int height) {
  if (height < 0) return;
  StoreLimit(cy_min_, ScaleByDpi(height));
}

void PlaceHolder::SetMaxWidth(int width) {
  StoreLimit(cx_max_, width > 0 ? ScaleByDpi(width) : width);
}

void PlaceHolder::SetMaxHeight(int height) {
  StoreLimit(cy_max_, height > 0 ? ScaleByDpi(height) : height);
}

void PlaceHolder::SetFloat(bool value) {
  if (float_ == value) return;
  float_ = value;
  ArrangeAncestor();
}

void PlaceHolder::Arrange() {
  if (cx_fixed_ == kSizeAuto || cy_fixed_ == kSizeAuto)
    ArrangeAncestor();
  else
    ArrangeSelf();
}

void PlaceHolder::ArrangeAncestor() {
  re_estimate_ = true;
  if (!window_ || !window_->GetRoot()) {
    if (parent_)
      static_cast<PlaceHolder*>(parent_)->ArrangeSelf();
    else
      ArrangeSelf();
    return;
  }
  PlaceHolder* target = parent_;
  while (target && (target->GetFixedWidth() == kSizeAuto || target->GetFixedHeight() == kSizeAuto)) {
    target->SetReEstimateSize(true);
    if (!target->GetParent()) break;
    target = target->GetParent();
  }
  (target ? target : this)->ArrangeSelf();
}

void PlaceHolder::ArrangeSelf() {
  if (!IsVisible()) return;
  re_estimate_ = true;
  is_arranged_ = true;
  Invalidate();
  if (window_) window_->SetArrange(true);
}

void PlaceHolder::Invalidate() {
  if (!IsVisible()) return;
  cache_dirty_ = true;
  InvalidateOnWindow(GetPos(true));
}

void PlaceHolder::InvalidateOnWindow(RECT rect) const {
  // A window without its native handle has nothing to repaint; a control not laid out yet or
  // outside its ancestors shows nothing to repaint.
  if (!window_ || !window_->GetHWND() || IsRectEmpty(&rect)) return;
  const SIZE offset = GetScrollOffset();
  OffsetRect(&rect, -offset.cx, -offset.cy);
  for (Box* parent = parent_; parent; parent = parent->GetParent()) {
    const RECT clip = parent->GetPos(true);
    if (!IntersectRect(&rect, &rect, &clip)) return;
  }
  window_->Invalidate(rect);
}

SIZE PlaceHolder::GetScrollOffset() const {
  for (Box* box = parent_; box; box = box->GetParent()) {
    auto* scrollable = dynamic_cast<ScrollableBox*>(box);
    if (!scrollable) continue;
    ScrollBar* vertical = scrollable->GetVerticalScrollBar();
    ScrollBar* horizontal = scrollable->GetHorizontalScrollBar();
    const bool vertical_used = vertical && vertical->GetScrollRange() > 0;
    const bool horizontal_used = horizontal && horizontal->GetScrollRange() > 0;
    if (!vertical_used && !horizontal_used) continue;
    if (float_ && box == parent_ && vertical) return SIZE{0, 0};
    return scrollable->GetScrollPos();
  }
  return SIZE{0, 0};
}

}  // namespace ui
