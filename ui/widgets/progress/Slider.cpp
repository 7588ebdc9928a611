#include "widgets/progress/Slider.h"

#include <algorithm>
#include <cwchar>

#include "base/StringPrintf.h"

namespace ui {
namespace {

// Integers separated by any one character each: "16,8" or "1,2,3,4".
template <size_t N>
void ReadIntegers(const std::wstring& value, LONG (&out)[N]) {
  const wchar_t* cursor = value.c_str();
  for (size_t i = 0; i < N; ++i) {
    wchar_t* end = nullptr;
    out[i] = wcstol(cursor, &end, 10);
    cursor = end;
    if (*cursor) ++cursor;
  }
}

}  // namespace

Slider::Slider() {
  SetTextStyle(DT_CENTER | DT_SINGLELINE);
  thumb_images_.SetOwner(this);
}

void Slider::SetThumbImage(ControlStateType state, const std::wstring& image) {
  thumb_images_.GetImage(state).SetImageString(image);
  Invalidate();
}

void Slider::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"step") {
    step_ = _wtoi(value.c_str());
  } else if (name == L"thumbnormalimage") {
    SetThumbImage(kControlStateNormal, value);
  } else if (name == L"thumbhotimage") {
    SetThumbImage(kControlStateHot, value);
  } else if (name == L"thumbpushedimage") {
    SetThumbImage(kControlStatePushed, value);
  } else if (name == L"thumbdisabledimage") {
    SetThumbImage(kControlStateDisabled, value);
  } else if (name == L"thumbsize") {
    LONG size[2] = {0, 0};
    ReadIntegers(value, size);
    thumb_size_ = SIZE{ScaleByDpi(size[0]), ScaleByDpi(size[1])};
  } else if (name == L"progressbarpadding") {
    LONG padding[4] = {0, 0, 0, 0};
    ReadIntegers(value, padding);
    bar_padding_ = RECT{ScaleByDpi(padding[0]), ScaleByDpi(padding[1]), ScaleByDpi(padding[2]),
                        ScaleByDpi(padding[3])};
    if (cx_fixed_ == kSizeAuto || cy_fixed_ == kSizeAuto)
      ArrangeAncestor();
    else
      Invalidate();
  } else {
    Progress::SetAttribute(name, value);
  }
}

void Slider::ClearImageCache() {
  Progress::ClearImageCache();
  thumb_images_.ClearCache();
}

RECT Slider::GetThumbRect() const {
  const RECT& r = rect_;
  const int tw = thumb_size_.cx;
  const int th = thumb_size_.cy;
  RECT thumb;
  if (horizontal_) {
    thumb.left = static_cast<LONG>((r.right - r.left - tw) * (value_ - min_) / Span() + r.left);
    thumb.top = (r.bottom + r.top - th) / 2;
  } else {
    thumb.left = (r.right + r.left - tw) / 2;
    thumb.top = static_cast<LONG>(r.bottom - th - (r.bottom - th - r.top) * (value_ - min_) / Span());
  }
  thumb.right = thumb.left + tw;
  thumb.bottom = thumb.top + th;
  return thumb;
}

RECT Slider::GetProgressPos() {
  const int width = rect_.right - rect_.left;
  const int height = rect_.bottom - rect_.top;
  if (horizontal_) {
    const double right = (width - thumb_size_.cx) * (value_ - min_) / Span() + thumb_size_.cx / 2;
    return RECT{0, 0, static_cast<LONG>(right + 0.5), height};
  }
  const double top = (max_ - value_) * (height - thumb_size_.cy) / Span() + thumb_size_.cy / 2;
  return RECT{0, static_cast<LONG>(top + 0.5), width, height};
}

double Slider::ValueFromPoint(POINT point) const {
  const RECT& r = rect_;
  const double span = static_cast<double>(max_) - min_;
  if (horizontal_) {
    const int half = thumb_size_.cx / 2;
    if (point.x >= r.right - half) return max_;
    if (point.x <= r.left + half) return min_;
    // A bar no longer than its thumb has no room to slide: both tests above cover it.
    const int length = r.right - r.left - thumb_size_.cx;
    if (length <= 0) return min_;
    return (point.x - half - r.left) * span / length + min_;
  }
  const int half = thumb_size_.cy / 2;
  if (point.y >= r.bottom - half) return min_;
  if (point.y <= r.top + half) return max_;
  const int length = r.bottom - r.top - thumb_size_.cy;
  if (length <= 0) return min_;
  return (r.bottom - half - point.y) * span / length + min_;
}

void Slider::AnnounceValueChange() {
  if (window_) window_->SendNotify(this, kEventValueChange);
}

void Slider::HandleMessage(EventArgs& args) {
  const int type = args.Type;
  if (!mouse_enabled_ && type >= kEventMouseMove && type <= kEventMouseScrollWheel) {
    if (parent_)
      Bubble(args);
    else
      Control::HandleMessage(args);
    return;
  }
  const SIZE offset = GetScrollOffset();
  const POINT point = {args.ptMouse.x + offset.cx, args.ptMouse.y + offset.cy};
  switch (type) {
    case kEventMouseButtonDown:
    case kEventInternalDoubleClick:
    case kEventPointDown:
      if (IsEnabled()) {
        const RECT thumb = GetThumbRect();
        if (PtInRect(&thumb, point)) SetMouseFocused(true);
      }
      return;
    case kEventMouseMove:
    case kEventPointMove:
      if (!IsMouseFocused()) return;
      value_ = ValueFromPoint(point);
      Invalidate();
      return;
    case kEventMouseButtonUp:
    case kEventPointUp:
      if (IsMouseFocused()) SetMouseFocused(false);
      if (IsEnabled()) {
        value_ = ValueFromPoint(point);
        AnnounceValueChange();
        Invalidate();
      }
      return;
    case kEventMouseScrollWheel: {
      const int delta = static_cast<int>(static_cast<INT_PTR>(args.wParam));
      value_ += delta < 1 ? -step_ : step_;
      // In range before anyone hears of the change.
      RepairRange();
      Invalidate();
      AnnounceValueChange();
      return;
    }
    case kEventInternalMenu:
      return;
    default:
      Control::HandleMessage(args);
      return;
  }
}

void Slider::PaintStatusImage(IRenderContext* context) {
  const RECT full = rect_;
  rect_.left += bar_padding_.left;
  rect_.top += bar_padding_.top;
  rect_.right -= bar_padding_.right;
  rect_.bottom -= bar_padding_.bottom;
  Progress::PaintStatusImage(context);
  rect_ = full;

  const RECT thumb = GetThumbRect();
  image_dest_ = base::StringPrintf(L"destscale='false' dest='%d,%d,%d,%d'",
                                   thumb.left - rect_.left, thumb.top - rect_.top,
                                   thumb.right - rect_.left, thumb.bottom - rect_.top);
  if (IsMouseFocused() &&
      thumb_images_.PaintStatusImage(context, kControlStatePushed, image_dest_))
    return;
  thumb_images_.PaintStatusImage(context, kControlStateNormal, image_dest_);
}

}  // namespace ui
