#include "layout/ScrollableBox.h"

#include <algorithm>
#include <cstdlib>

#include "image/ImageAttribute.h"
#include "render/AutoClip.h"
#include "render/RenderInterfaces.h"
#include "system/DpiManager.h"
#include "widgets/ScrollBar.h"
#include "window/Window.h"

namespace ui {

ScrollableBox::ScrollableBox(Layout* layout) : Box(layout) {}

ScrollableBox::~ScrollableBox() {
  scroll_animation_.Stop();
  render_offset_animation_.Stop();
}

void ScrollableBox::SetWindow(Window* window, Box* parent, bool init) {
  if (vertical_bar_) vertical_bar_->SetWindow(window, this, false);
  if (horizontal_bar_) horizontal_bar_->SetWindow(window, this, false);
  Box::SetWindow(window, parent, init);
}

bool ScrollableBox::IsVerticalInUse() const {
  return vertical_bar_ && vertical_bar_->GetScrollRange() != 0;
}

bool ScrollableBox::IsHorizontalInUse() const {
  return horizontal_bar_ && horizontal_bar_->GetScrollRange() != 0;
}

SIZE ScrollableBox::GetScrollPos() const {
  return SIZE{IsHorizontalInUse() ? static_cast<LONG>(horizontal_bar_->GetScrollPos()) : 0,
              IsVerticalInUse() ? static_cast<LONG>(vertical_bar_->GetScrollPos()) : 0};
}

SIZE ScrollableBox::GetScrollRange() const {
  return SIZE{IsHorizontalInUse() ? static_cast<LONG>(horizontal_bar_->GetScrollRange()) : 0,
              IsVerticalInUse() ? static_cast<LONG>(vertical_bar_->GetScrollRange()) : 0};
}

void ScrollableBox::SetPos(RECT rect) {
  const bool at_end = hold_end_ && IsVerticalInUse() &&
                      vertical_bar_->GetScrollPos() == vertical_bar_->GetScrollRange();
  Rearrange(rect);
  if (at_end && IsVerticalInUse()) EndDown(false, false);
}

void ScrollableBox::Rearrange(RECT rect) {
  Control::SetPos(rect);
  const RECT content = GetPaddingPos();
  const SIZE required = CalcRequiredSize(content);
  ProcessVScrollBar(rect, required.cy);
  ProcessHScrollBar(rect, required.cx);
}

SIZE ScrollableBox::CalcRequiredSize(RECT rect) {
  if (items_.empty()) return SIZE{0, 0};
  if (!bar_float_) {
    if (IsVerticalInUse()) rect.right -= vertical_bar_->GetFixedWidth();
    if (IsHorizontalInUse()) rect.bottom -= horizontal_bar_->GetFixedHeight();
  }
  return layout_->ArrangeChild(items_, rect);
}

void ScrollableBox::ProcessVScrollBar(RECT rect, int required_height) {
  ScrollBar* bar = vertical_bar_.get();
  if (!bar) return;
  const RECT padding = layout_->GetPadding();
  const int content_height = rect.bottom - rect.top - padding.top - padding.bottom;
  const RECT bar_pos = {rect.right - bar_padding_.right - bar->GetFixedWidth(),
                        rect.top + bar_padding_.top, rect.right - bar_padding_.right,
                        rect.bottom - bar_padding_.bottom};
  FitScrollBar(bar, required_height - content_height, bar_pos);
}

void ScrollableBox::ProcessHScrollBar(RECT rect, int required_width) {
  ScrollBar* bar = horizontal_bar_.get();
  if (!bar) return;
  const RECT padding = layout_->GetPadding();
  const int content_width = rect.right - rect.left - padding.left - padding.right;
  const RECT bar_pos = {rect.left + bar_padding_.left,
                        rect.bottom - bar_padding_.bottom - bar->GetFixedHeight(),
                        rect.right - bar_padding_.right, rect.bottom - bar_padding_.bottom};
  FitScrollBar(bar, required_width - content_width, bar_pos);
}

void ScrollableBox::FitScrollBar(ScrollBar* bar, int excess, const RECT& bar_pos) {
  if (excess > 0 && bar->GetScrollRange() == 0) {
    bar->SetScrollRange(excess);
    if (bar->GetScrollPos() != 0) bar->SetScrollPos(0);
    in_process_ = true;
    SetPos(rect_);
    in_process_ = false;
    return;
  }
  if (bar->GetScrollRange() == 0) return;
  if (excess > 0 || in_process_) {
    bar->SetPos(bar_pos);
    // Content that fits scrolls nothing: the range never goes below 0.
    const int range = std::max(0, excess);
    if (bar->GetScrollRange() == range) return;
    const int64_t old_value = bar->GetScrollPos();
    bar->SetScrollRange(range);
    if (range == 0) bar->SetScrollPos(0);
    if (bar->GetScrollPos() < old_value) SetPos(rect_);
    return;
  }
  bar->SetScrollPos(0);
  bar->SetScrollRange(0);
  SetPos(rect_);
}

void ScrollableBox::SetScrollPos(SIZE pos) {
  if (pos.cy < 0) {
    pos.cy = 0;
    scroll_animation_.Stop();
  } else if (pos.cy > GetScrollRange().cy) {
    pos.cy = GetScrollRange().cy;
    scroll_animation_.Stop();
  }
  const SIZE old = GetScrollPos();
  bool changed = false;
  if (IsVerticalInUse() && vertical_bar_->GetScrollPos() != pos.cy) {
    vertical_bar_->SetScrollPos(pos.cy);
    changed = true;
  }
  if (IsHorizontalInUse() && horizontal_bar_->GetScrollPos() != pos.cx) {
    horizontal_bar_->SetScrollPos(pos.cx);
    changed = true;
  }
  if (!changed) return;
  LoadImageCache(GetScrollPos().cy - old.cy > 0);
  Invalidate();
  if (window_) window_->SendNotify(this, kEventScrollChange);
}

void ScrollableBox::SetScrollPosY(int y) { SetScrollPos(SIZE{GetScrollPos().cx, y}); }

void ScrollableBox::SetScrollPosX(int x) { SetScrollPos(SIZE{x, GetScrollPos().cy}); }

int ScrollableBox::Step(int delta, int unit) const {
  if (unit == 0) unit = 20;
  return delta == -1 || delta > unit ? unit : delta;
}

void ScrollableBox::LineUp(int delta, bool with_animation) {
  const SIZE pos = GetScrollPos();
  if (pos.cy < 1) return;
  const int step = Step(delta, ver_unit_);
  if (!with_animation) {
    SetScrollPos(SIZE{pos.cx, std::max<LONG>(0, pos.cy - step)});
    return;
  }
  const int previous_end = scroll_animation_.GetEndValue();
  const int end = scroll_animation_.IsPlaying() && pos.cy >= previous_end ? previous_end - step
                                                                            : pos.cy - step;
  scroll_animation_.SetStartValue(pos.cy);
  scroll_animation_.SetEndValue(end);
  scroll_animation_.SetSpeedUpRatio(0);
  scroll_animation_.SetSpeedDownRatio(0.5);
  scroll_animation_.SetDeceleration(-0.012);
  scroll_animation_.SetTotalMillSeconds(-1);
  scroll_animation_.SetCallback(MakeWeakCallback([this](int y) { SetScrollPosY(y); }));
  scroll_animation_.Start();
}

void ScrollableBox::LineDown(int delta, bool with_animation) {
  const SIZE pos = GetScrollPos();
  if (pos.cy >= GetScrollRange().cy) return;
  const int step = Step(delta, ver_unit_);
  if (!with_animation) {
    SetScrollPos(SIZE{pos.cx, std::max<LONG>(0, pos.cy + step)});
    return;
  }
  const int previous_end = scroll_animation_.GetEndValue();
  const int end = scroll_animation_.IsPlaying() && previous_end >= pos.cy ? previous_end + step
                                                                            : pos.cy + step;
  scroll_animation_.SetStartValue(pos.cy);
  scroll_animation_.SetEndValue(end);
  scroll_animation_.SetSpeedUpRatio(0);
  scroll_animation_.SetSpeedDownRatio(0.5);
  scroll_animation_.SetDeceleration(-0.012);
  scroll_animation_.SetTotalMillSeconds(-1);
  scroll_animation_.SetCallback(MakeWeakCallback([this](int y) { SetScrollPosY(y); }));
  scroll_animation_.Start();
}

void ScrollableBox::LineLeft(int delta) {
  const SIZE pos = GetScrollPos();
  if (pos.cx < 1) return;
  SetScrollPos(SIZE{std::max<LONG>(0, pos.cx - Step(delta, hor_unit_)), pos.cy});
}

void ScrollableBox::LineRight(int delta) {
  const SIZE pos = GetScrollPos();
  const SIZE range = GetScrollRange();
  if (pos.cx >= range.cx) return;
  SetScrollPos(SIZE{std::min<LONG>(range.cx, pos.cx + Step(delta, hor_unit_)), pos.cy});
}

void ScrollableBox::PageUp() {
  const RECT padding = layout_->GetPadding();
  int page = GetHeight() - padding.top - padding.bottom;
  if (IsHorizontalInUse()) page -= horizontal_bar_->GetFixedHeight();
  SetScrollPos(SIZE{GetScrollPos().cx, GetScrollPos().cy - page});
}

void ScrollableBox::PageDown() {
  const RECT padding = layout_->GetPadding();
  int page = GetHeight() - padding.top - padding.bottom;
  if (IsHorizontalInUse()) page -= horizontal_bar_->GetFixedHeight();
  SetScrollPos(SIZE{GetScrollPos().cx, GetScrollPos().cy + page});
}

void ScrollableBox::PageLeft() {
  const RECT padding = layout_->GetPadding();
  SetScrollPos(SIZE{GetScrollPos().cx - (GetWidth() - padding.left - padding.right), GetScrollPos().cy});
}

void ScrollableBox::PageRight() {
  const RECT padding = layout_->GetPadding();
  SetScrollPos(SIZE{GetScrollPos().cx + (GetWidth() - padding.left - padding.right), GetScrollPos().cy});
}

void ScrollableBox::HomeUp() { SetScrollPos(SIZE{GetScrollPos().cx, 0}); }

void ScrollableBox::HomeLeft() { SetScrollPos(SIZE{0, GetScrollPos().cy}); }

void ScrollableBox::EndRight() { SetScrollPos(SIZE{GetScrollRange().cx, GetScrollPos().cy}); }

void ScrollableBox::EndDown(bool arrange, bool with_animation) {
  if (arrange) Rearrange(rect_);
  if (with_animation && IsVerticalInUse()) {
    const int d = GetScrollRange().cy - render_offset_.y - GetScrollPos().cy +
                  render_offset_animation_.GetEndValue();
    if (d > 0) {
      render_offset_animation_.SetStartValue(-d);
      render_offset_animation_.SetEndValue(0);
      render_offset_animation_.SetSpeedUpRatio(0.3);
      render_offset_animation_.SetAcceleration(0.003);
      render_offset_animation_.SetSpeedDownRatio(0.7);
      render_offset_animation_.SetTotalMillSeconds(-1);
      render_offset_animation_.SetCallback(MakeWeakCallback([this](int y) { SetRenderOffsetY(y); }));
      render_offset_animation_.Start();
    }
  }
  SetScrollPos(SIZE{GetScrollPos().cx, GetScrollRange().cy});
}

void ScrollableBox::ScrollUpBy(int pixels) {
  const SIZE pos = GetScrollPos();
  if (pos.cy < 1) return;
  SetScrollPos(SIZE{pos.cx, pos.cy - pixels});
}

void ScrollableBox::ScrollDownBy(int pixels) {
  const SIZE pos = GetScrollPos();
  if (pos.cy >= GetScrollRange().cy) return;
  SetScrollPos(SIZE{pos.cx, pos.cy + pixels});
}

void ScrollableBox::EnableScrollBar(bool vertical, bool horizontal) {
  auto make = [this](bool horizontal_bar) {
    auto bar = std::make_unique<ScrollBar>();
    if (horizontal_bar) bar->SetHorizontal(true);
    bar->SetVisible(false);
    bar->SetScrollRange(0);
    bar->SetOwner(this);
    bar->SetWindow(window_, nullptr, false);
    bar->SetClass(horizontal_bar ? L"hscrollbar" : L"vscrollbar");
    return bar;
  };
  if (!vertical) vertical_bar_.reset();
  else if (!vertical_bar_) vertical_bar_ = make(false);
  if (!horizontal) horizontal_bar_.reset();
  else if (!horizontal_bar_) horizontal_bar_ = make(true);
  Arrange();
}

void ScrollableBox::SetMouseEnabled(bool enabled) {
  if (vertical_bar_) vertical_bar_->SetMouseEnabled(enabled);
  if (horizontal_bar_) horizontal_bar_->SetMouseEnabled(enabled);
  Box::SetMouseEnabled(enabled);
}

Control* ScrollableBox::FindControl(const FindControlCallback& callback, void* data,
                                    unsigned flags, POINT) {
  if ((flags & kFindVisible) && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabled()) return nullptr;
  if ((flags & kFindHitTest) && !PtInRect(&rect_, *static_cast<POINT*>(data))) return nullptr;
  for (ScrollBar* bar : {vertical_bar_.get(), horizontal_bar_.get()}) {
    if (!bar) continue;
    if (Control* found = bar->FindControl(callback, data, flags)) return found;
  }
  if ((flags & kFindHitTest) && !mouse_child_) return Control::FindControl(callback, data, flags);
  const SIZE pos = GetScrollPos();
  return Box::FindControl(callback, data, flags, POINT{pos.cx, pos.cy});
}

void ScrollableBox::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const bool is_true = value == L"true";
  if (name == L"vscrollbar") {
    EnableScrollBar(is_true, horizontal_bar_ != nullptr);
  } else if (name == L"vscrollbarstyle") {
    EnableScrollBar(true, horizontal_bar_ != nullptr);
    vertical_bar_->ApplyAttributeList(value);
  } else if (name == L"hscrollbar") {
    EnableScrollBar(vertical_bar_ != nullptr, is_true);
  } else if (name == L"hscrollbarstyle") {
    EnableScrollBar(vertical_bar_ != nullptr, true);
    horizontal_bar_->ApplyAttributeList(value);
  } else if (name == L"scrollbarpadding") {
    bar_padding_ = ParseRect(value);
    DpiManager::GetInstance()->ScaleRect(bar_padding_);
  } else if (name == L"vscrollunit") {
    ver_unit_ = DpiManager::GetInstance()->ScaleInt(_wtoi(value.c_str()));
  } else if (name == L"hscrollunit") {
    hor_unit_ = DpiManager::GetInstance()->ScaleInt(_wtoi(value.c_str()));
  } else if (name == L"scrollbarfloat") {
    bar_float_ = is_true;
  } else if (name == L"defaultdisplayscrollbar") {
    default_display_bar_ = is_true;
  } else if (name == L"holdend") {
    hold_end_ = is_true;
  } else {
    Box::SetAttribute(name, value);
  }
}

void ScrollableBox::PaintChild(IRenderContext* context, const RECT& dirty) {
  RECT unused;
  if (!IntersectRect(&unused, &dirty, &rect_)) return;
  const SIZE pos = GetScrollPos();
  for (Control* child : ChildList(items_)) {
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      child->AlphaPaint(context, dirty);
      continue;
    }
    const RECT content = GetPaddingPos();
    RECT shifted = content;
    OffsetRect(&shifted, pos.cx + render_offset_.x, pos.cy + render_offset_.y);
    // A child outside the visible content paints nothing: it costs no clip either.
    const RECT child_rect = child->GetPos(true);
    RECT unused_child;
    if (!IntersectRect(&unused_child, &shifted, &child_rect)) continue;
    AutoClip clip(context, content, clip_);
    const POINT old_origin = context->OffsetWindowOrg(POINT{pos.cx, pos.cy});
    child->AlphaPaint(context, shifted);
    context->SetWindowOrg(old_origin);
  }
  for (ScrollBar* bar : {horizontal_bar_.get(), vertical_bar_.get()})
    if (bar && bar->IsVisible()) bar->AlphaPaint(context, dirty);
  // Each box runs its first visibility pass at its own first paint.
  if (first_paint_) {
    first_paint_ = false;
    LoadImageCache(true);
  }
}

void ScrollableBox::LoadImageCache(bool from_top) {
  RECT visible = rect_;
  const SIZE pos = GetScrollPos();
  OffsetRect(&visible, pos.cx + render_offset_.x, pos.cy + render_offset_.y);
  auto visit = [&visible](Control* child) {
    if (!child->IsVisible() || child->IsFloat()) return;
    RECT near_rect = child->GetPos(true);
    InflateRect(&near_rect, 0, 730);
    RECT unused;
    if (IntersectRect(&unused, &visible, &near_rect))
      child->GifPlay();
    else
      child->StopGifPlay();
  };
  if (from_top)
    std::for_each(items_.begin(), items_.end(), visit);
  else
    std::for_each(items_.rbegin(), items_.rend(), visit);
}

void ScrollableBox::HandleMessage(EventArgs& args) {
  const int type = args.Type;
  if (PassesMouseEventOn(type)) {
    Bubble(args);
    return;
  }
  const int key = args.chKey;
  if (IsVerticalInUse() && vertical_bar_->IsEnabled()) {
    if (type == kEventKeyDown) {
      switch (key) {
        case VK_PRIOR: PageUp(); return;
        case VK_NEXT: PageDown(); return;
        case VK_END: EndDown(true, true); return;
        case VK_HOME: HomeUp(); return;
        case VK_UP: LineUp(-1, true); return;
        case VK_DOWN: LineDown(-1, true); return;
        default: break;
      }
    } else if (type == kEventMouseScrollWheel) {
      const int delta = static_cast<int>(static_cast<INT_PTR>(args.wParam));
      if (delta < 1)
        LineDown(std::abs(delta), true);
      else
        LineUp(delta, true);
      return;
    } else if (type == kEventTouchDown || type == kEventPointDown) {
      if (enabled_) {
        SetMouseFocused(true);
        last_touch_ = args.ptMouse;
      }
      return;
    } else if (type == kEventTouchMove || type == kEventPointMove) {
      if (!mouse_focused_) return;
      const int dy = args.ptMouse.y - last_touch_.y;
      if (dy == 0) return;
      last_touch_ = args.ptMouse;
      if (dy < 0)
        ScrollDownBy(-dy);
      else
        ScrollUpBy(dy);
      return;
    } else if (type == kEventTouchUp || type == kEventPointUp) {
      if (mouse_focused_) {
        SetMouseFocused(false);
        last_touch_ = args.ptMouse;
      }
      return;
    }
  } else if (IsHorizontalInUse() && horizontal_bar_->IsEnabled()) {
    if (type == kEventKeyDown) {
      switch (key) {
        case VK_PRIOR: PageLeft(); return;
        case VK_NEXT: PageRight(); return;
        case VK_END: EndRight(); return;
        case VK_HOME: HomeLeft(); return;
        case VK_UP: LineLeft(-1); return;
        case VK_DOWN: LineRight(-1); return;
        default: break;
      }
    } else if (type == kEventMouseScrollWheel) {
      const int delta = static_cast<int>(static_cast<INT_PTR>(args.wParam));
      if (delta < 1)
        LineRight(-1);
      else
        LineLeft(-1);
      return;
    }
  }
  Box::HandleMessage(args);
}

bool ScrollableBox::MouseEnter(EventArgs& args) {
  const bool acted = Box::MouseEnter(args);
  for (ScrollBar* bar : {vertical_bar_.get(), horizontal_bar_.get()})
    if (bar && bar->GetScrollRange() != 0 && bar->IsEnabled() && bar->IsAutoHideScroll())
      bar->SetFadeVisible(true);
  return acted;
}

bool ScrollableBox::MouseLeave(EventArgs& args) {
  const bool acted = Box::MouseLeave(args);
  for (ScrollBar* bar : {vertical_bar_.get(), horizontal_bar_.get()})
    if (bar && bar->GetScrollRange() != 0 && bar->IsEnabled() && bar->IsAutoHideScroll() &&
        !bar->IsMouseFocused())
      bar->SetFadeVisible(false);
  return acted;
}

void ScrollableBox::ClearImageCache() {
  Box::ClearImageCache();
  if (vertical_bar_) vertical_bar_->ClearImageCache();
  if (horizontal_bar_) horizontal_bar_->ClearImageCache();
}

}  // namespace ui
