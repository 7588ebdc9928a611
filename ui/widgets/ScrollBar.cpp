#include "widgets/ScrollBar.h"

#include <algorithm>

#include "base/StringPrintf.h"
#include "layout/ScrollableBox.h"
#include "system/DpiManager.h"
#include "timing/TimerManager.h"
#include "window/Window.h"

namespace ui {

ScrollBar::ScrollBar() {
  cx_fixed_ = 16;
  cy_fixed_ = 0;
  float_ = true;
  button_up_on_kill_focus_ = true;
  for (StateImage& images : part_images_) images.SetOwner(this);
}

ScrollBar::~ScrollBar() { repeat_token_.Cancel(); }

void ScrollBar::SetHorizontal(bool horizontal) {
  if (horizontal_ == horizontal) return;
  horizontal_ = horizontal;
  if (horizontal && cy_fixed_ == 0) {
    cx_fixed_ = 0;
    cy_fixed_ = 16;
  } else if (!horizontal && cx_fixed_ == 0) {
    cx_fixed_ = 16;
  }
  if (owner_)
    owner_->Arrange();
  else
    ArrangeAncestor();
}

void ScrollBar::SetScrollRange(int64_t range) {
  if (range == range_) return;
  range_ = std::max<int64_t>(0, range);
  value_ = std::min(value_, range_);
  if (range < 1)
    SetVisible(false);
  else if (!auto_hide_ && !IsVisible())
    SetFadeVisible(true);
  SetPos(rect_);
}

void ScrollBar::SetScrollPos(int64_t value) {
  if (value == value_) return;
  value_ = std::min(std::max<int64_t>(value, 0), range_);
  SetPos(rect_);
}

void ScrollBar::SetPos(RECT rect) {
  Control::SetPos(rect);
  const int t = Thickness();
  const int start = horizontal_ ? rect.left : rect.top;
  const int end = horizontal_ ? rect.right : rect.bottom;
  const int length = end - start;
  const int free = length - (show_button1_ ? t : 0) - (show_button2_ ? t : 0);
  // A rectangle spanning [from, to) along the bar and the whole thickness.
  auto along = [&](int from, int to) {
    return horizontal_ ? RECT{from, rect.top, to, rect.bottom} : RECT{rect.left, from, rect.right, to};
  };
  if (t < free) {
    const int button1_end = start + (show_button1_ ? t : 0);
    const int button2_start = end - (show_button2_ ? t : 0);
    button1_ = along(start, button1_end);
    button2_ = along(button2_start, end);
    if (range_ <= 0) {
      thumb_ = along(button1_end, button2_start);
      return;
    }
    int thumb = static_cast<int>(static_cast<int64_t>(free) * length / (range_ + length));
    // The minimum length never exceeds the room the thumb has.
    thumb = std::min(std::max(thumb, thumb_min_length_), free);
    int thumb_start = button1_end + static_cast<int>((free - thumb) * value_ / range_);
    int thumb_end = thumb_start + thumb;
    if (thumb_end > button2_start) {
      thumb_end = button2_start;
      thumb_start = thumb_end - thumb;
    }
    thumb_ = along(thumb_start, thumb_end);
    return;
  }
  const int button = std::min(t, length / 2);
  button1_ = show_button1_ ? along(start, start + button) : RECT{0, 0, 0, 0};
  button2_ = show_button2_ ? along(end - button, end) : RECT{0, 0, 0, 0};
  thumb_ = RECT{0, 0, 0, 0};
}

void ScrollBar::SetVisible(bool visible) {
  if (visible_ == visible) return;
  const bool was_visible = IsVisible();
  visible_ = visible;
  if (!visible && window_ && window_->GetFocusControl() == this) window_->SetFocusControl(nullptr);
  if (IsVisible() != was_visible) ArrangeSelf();
}

void ScrollBar::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  SetState(enabled ? kControlStateNormal : kControlStateDisabled);
  SetPartStates(enabled ? kControlStateNormal : kControlStateDisabled);
}

void ScrollBar::SetFocus() {
  if (owner_)
    owner_->SetFocus();
  else
    Control::SetFocus();
}

void ScrollBar::SetPartStates(ControlStateType state) {
  button1_state_ = button2_state_ = thumb_state_ = state;
}

void ScrollBar::SetAttribute(const std::wstring& name, const std::wstring& value) {
  static const std::pair<const wchar_t*, Part> kParts[] = {{L"button1", kButton1},
                                                           {L"button2", kButton2},
                                                           {L"thumb", kThumb},
                                                           {L"rail", kRail},
                                                           {L"bk", kBackground}};
  static const std::pair<const wchar_t*, ControlStateType> kStates[] = {
      {L"normal", kControlStateNormal},
      {L"hot", kControlStateHot},
      {L"pushed", kControlStatePushed},
      {L"disabled", kControlStateDisabled}};
  for (const auto& [part_name, part] : kParts) {
    for (const auto& [state_name, state] : kStates) {
      if (name == std::wstring(part_name) + state_name + L"image") {
        part_images_[part].GetImage(state).SetImageString(value);
        Invalidate();
        return;
      }
    }
  }
  const bool is_true = value == L"true";
  if (name == L"hor") {
    SetHorizontal(is_true);
  } else if (name == L"linesize") {
    line_size_ = DpiManager::GetInstance()->ScaleInt(_wtoi(value.c_str()));
  } else if (name == L"thumbminlength") {
    thumb_min_length_ = DpiManager::GetInstance()->ScaleInt(_wtoi(value.c_str()));
  } else if (name == L"range") {
    SetScrollRange(_wtoi(value.c_str()));
  } else if (name == L"value") {
    SetScrollPos(_wtoi(value.c_str()));
  } else if (name == L"showbutton1") {
    show_button1_ = is_true;
    SetPos(rect_);
  } else if (name == L"showbutton2") {
    show_button2_ = is_true;
    SetPos(rect_);
  } else if (name == L"autohidescroll") {
    auto_hide_ = is_true;
  } else {
    Control::SetAttribute(name, value);
  }
}

void ScrollBar::StepBack() {
  if (!owner_)
    SetScrollPos(value_ - line_size_);
  else if (horizontal_)
    owner_->LineLeft(-1);
  else
    owner_->LineUp(-1, true);
}

void ScrollBar::StepForward() {
  if (!owner_)
    SetScrollPos(value_ + line_size_);
  else if (horizontal_)
    owner_->LineRight(-1);
  else
    owner_->LineDown(-1, true);
}

void ScrollBar::PageBack() {
  if (!owner_)
    SetScrollPos(value_ - (horizontal_ ? GetWidth() : GetHeight()));
  else if (horizontal_)
    owner_->PageLeft();
  else
    owner_->PageUp();
}

void ScrollBar::PageForward() {
  if (!owner_)
    SetScrollPos(value_ + (horizontal_ ? GetWidth() : GetHeight()));
  else if (horizontal_)
    owner_->PageRight();
  else
    owner_->PageDown();
}

void ScrollBar::PressAt(POINT point) {
  if (PtInRect(&button1_, point)) {
    button1_state_ = kControlStatePushed;
    StepBack();
  } else if (PtInRect(&button2_, point)) {
    button2_state_ = kControlStatePushed;
    StepForward();
  } else if (PtInRect(&thumb_, point)) {
    thumb_state_ = kControlStatePushed;
    SetMouseFocused(true);
    press_point_ = point;
    drag_start_value_ = static_cast<int>(value_);
  } else if (Along(point) < (horizontal_ ? thumb_.left : thumb_.top)) {
    PageBack();
  } else {
    PageForward();
  }
}

void ScrollBar::ScrollTimeHandle() {
  ++repeat_ticks_;
  if (thumb_state_ == kControlStatePushed) {
    const int target = drag_start_value_ + drag_offset_;
    if (!owner_) {
      SetScrollPos(target);
    } else {
      const SIZE pos = owner_->GetScrollPos();
      owner_->SetScrollPos(horizontal_ ? SIZE{target, pos.cy} : SIZE{pos.cx, target});
    }
    return;
  }
  if (repeat_ticks_ < 6) return;
  if (button1_state_ == kControlStatePushed) {
    StepBack();
  } else if (button2_state_ == kControlStatePushed) {
    StepForward();
  } else if (window_ && window_->GetHWND()) {
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(window_->GetHWND(), &point);
    if (PtInRect(&thumb_, point)) return;
    if (Along(point) < (horizontal_ ? thumb_.left : thumb_.top))
      PageBack();
    else
      PageForward();
  }
}

void ScrollBar::HandleMessage(EventArgs& args) {
  const int type = args.Type;
  if (type == kEventInternalSetFocus || type == kEventInternalKillFocus ||
      type == kEventInternalMenu)
    return;
  if (!mouse_enabled_ && type >= kEventMouseMove && type <= kEventMouseScrollWheel) {
    if (owner_) owner_->HandleMessageTemplate(args);
    return;
  }
  switch (type) {
    case kEventMouseButtonDown:
    case kEventInternalDoubleClick:
    case kEventPointDown:
      if (!enabled_) return;
      drag_offset_ = 0;
      repeat_ticks_ = 0;
      TimerManager::GetInstance()->AddTimer(repeat_token_.GetWeakFlag(),
                                            [this] { ScrollTimeHandle(); }, 50, -1);
      PressAt(args.ptMouse);
      Control::ButtonDown(args);
      return;
    case kEventMouseMove:
    case kEventPointMove: {
      if (!mouse_focused_) return;
      const RECT& r = rect_;
      int track = horizontal_ ? thumb_.left + r.right - thumb_.right - r.left
                              : thumb_.top + r.bottom - thumb_.bottom - r.top;
      if (show_button1_) track -= Thickness();
      if (show_button2_) track -= Thickness();
      if (track == 0) return;
      drag_offset_ = static_cast<int>((Along(args.ptMouse) - Along(press_point_)) * range_ / track);
      return;
    }
    case kEventMouseEnter:
      MouseEnter(args);
      if (owner_) owner_->HandleMessageTemplate(args);
      return;
    case kEventMouseLeave:
      MouseLeave(args);
      if (owner_) owner_->HandleMessageTemplate(args);
      return;
    case kEventMouseButtonUp:
    case kEventPointUp:
      drag_offset_ = 0;
      repeat_ticks_ = 0;
      repeat_token_.Cancel();
      if (mouse_focused_) {
        thumb_state_ = IsPointIn(args.ptMouse) ? kControlStateHot : kControlStateNormal;
      } else {
        if (button1_state_ == kControlStatePushed) button1_state_ = kControlStateNormal;
        if (button2_state_ == kControlStatePushed) button2_state_ = kControlStateNormal;
        Invalidate();
      }
      ButtonUp(args);
      return;
    case kEventSetCursor:
      if (cursor_type_ == kCursorHand || cursor_type_ == kCursorArrow) {
        ::SetCursor(LoadCursorW(nullptr, cursor_type_ == kCursorHand ? IDC_HAND : IDC_ARROW));
        return;
      }
      break;
    default:
      break;
  }
  if (owner_) owner_->HandleMessageTemplate(args);
}

bool ScrollBar::ButtonUp(EventArgs& args) {
  bool result = false;
  if (mouse_focused_) {
    SetMouseFocused(false);
    Invalidate();
    if (IsPointIn(args.ptMouse)) {
      state_ = kControlStateHot;
      hot_alpha_ = 255;
      Activate();
      result = true;
    } else {
      state_ = kControlStateNormal;
      hot_alpha_ = 0;
    }
  }
  if (owner_ && auto_hide_) {
    const RECT owner_rect = owner_->GetPos(true);
    if (!PtInRect(&owner_rect, args.ptMouse)) SetFadeVisible(false);
  }
  return result;
}

bool ScrollBar::MouseEnter(EventArgs&) {
  if (!enabled_ || state_ != kControlStateNormal) return false;
  state_ = kControlStateHot;
  if (HasHotFade()) animation_.MouseEnter();
  Invalidate();
  SetPartStates(kControlStateHot);
  return true;
}

bool ScrollBar::MouseLeave(EventArgs&) {
  if (!enabled_ || state_ != kControlStateHot) return false;
  state_ = kControlStateNormal;
  if (HasHotFade()) animation_.MouseLeave();
  Invalidate();
  SetPartStates(kControlStateNormal);
  return true;
}

void ScrollBar::ClearImageCache() {
  Control::ClearImageCache();
  for (StateImage& images : part_images_) images.ClearCache();
}

void ScrollBar::PaintPart(IRenderContext* context, Part part, ControlStateType state,
                          const RECT& rect) {
  image_modify_ = base::StringPrintf(L"destscale='false' dest='%d,%d,%d,%d'", rect.left - rect_.left,
                                     rect.top - rect_.top, rect.right - rect_.left,
                                     rect.bottom - rect_.top);
  part_images_[part].PaintStatusImage(context, state, image_modify_);
}

void ScrollBar::Paint(IRenderContext* context, const RECT& dirty) {
  if (!IntersectRect(&paint_rect_, &dirty, &rect_)) return;
  part_images_[kBackground].PaintStatusImage(context, state_);
  const bool dragging = thumb_state_ == kControlStatePushed;
  auto button_state = [dragging](ControlStateType state) {
    return state == kControlStateNormal && dragging ? kControlStateHot : state;
  };
  if (show_button1_) PaintPart(context, kButton1, button_state(button1_state_), button1_);
  if (show_button2_) PaintPart(context, kButton2, button_state(button2_state_), button2_);
  if (thumb_.left == 0 && thumb_.top == 0 && thumb_.right == 0 && thumb_.bottom == 0) return;
  PaintPart(context, kThumb, thumb_state_, thumb_);
  const int t = Thickness();
  RECT grip = thumb_;
  if (horizontal_) {
    grip.left = (thumb_.left + thumb_.right - t) / 2;
    grip.right = grip.left + t;
  } else {
    grip.top = (thumb_.top + thumb_.bottom - t) / 2;
    grip.bottom = grip.top + t;
  }
  PaintPart(context, kRail, thumb_state_, grip);
}

}  // namespace ui
