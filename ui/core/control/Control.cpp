#include "control/Control.h"

#include <algorithm>

#include "control/AttributeListScope.h"
#include "image/ImageAttribute.h"
#include "layout/Box.h"
#include "resources/GlobalManager.h"
#include "resources/LanguageTable.h"
#include "system/DpiManager.h"
#include "text/TextUtils.h"
#include "text/Utf8.h"
#include "window/Window.h"

namespace ui {

Control::Control() : animation_(this) {
  state_colors_.SetOwner(this);
  state_images_.SetOwner(this);
}

Control::~Control() {
  // Pending GIF, fade and handler callbacks must not run on a half-destroyed control.
  gif_timer_.Cancel();
  callbacks_.Cancel();
  ReleaseWeakFlag();
  animation_.Clear();
  if (window_) window_->ReapObjects(this);
}

SIZE Control::EstimateSize(SIZE available) {
  SIZE fixed = {cx_fixed_, cy_fixed_};
  if (!IsAutoSized()) return fixed;
  if (!re_estimate_) return estimated_size_;
  SIZE image_size = {0, 0};
  if (Image* image = GetEstimateImage()) {
    const RECT& source = image->attribute.source;
    if (source.left != -1 && source.top != -1 && source.right != -1 && source.bottom != -1) {
      // The source rectangle fixes the size.
      SetFixedWidth(source.right - source.left, true, true);
      SetFixedHeight(source.bottom - source.top, true);
      return SIZE{cx_fixed_, cy_fixed_};
    }
    // A failed load is an entry too (of size 0), so the file is read once; but not a relative
    // name read before the window that resolves it.
    std::shared_ptr<ImageInfo> entry = image->image_cache;
    if (!entry) entry = GlobalManager::GetImageEntry(ImagePath(*image));
    if (!entry->failed || !WaitsForItsWindow(*image)) image->image_cache = entry;
    image_size.cx = ScaleByDpi(entry->width);
    image_size.cy = ScaleByDpi(entry->height);
  }
  re_estimate_ = false;
  bool text_re_estimate = false;
  const SIZE text = EstimateText(available, text_re_estimate);
  if (cx_fixed_ == kSizeAuto) fixed.cx = std::max(image_size.cx, text.cx);
  if (cy_fixed_ == kSizeAuto) fixed.cy = std::max(image_size.cy, text.cy);
  if (text_re_estimate) re_estimate_ = true;
  estimated_size_ = fixed;
  return fixed;
}

SIZE Control::EstimateText(SIZE, bool& re_estimate) {
  re_estimate = false;
  return SIZE{0, 0};
}

Image* Control::GetEstimateImage() {
  if (!bk_image_.attribute.file_name.empty()) return &bk_image_;
  return state_images_.GetEstimateImage(kStateImageBk);
}

RECT Control::GetPos(bool contain_shadow) const {
  RECT pos = rect_;
  if (!contain_shadow && window_ && window_->GetShadow().IsAttached()) {
    const RECT padding = window_->GetShadow().GetPadding();
    OffsetRect(&pos, -padding.left, -padding.top);
  }
  return pos;
}

void Control::SetPos(RECT rect) {
  if (rect.right < rect.left) rect.right = rect.left;
  if (rect.bottom < rect.top) rect.bottom = rect.top;
  if (EqualRect(&rect, &rect_)) {
    is_arranged_ = false;
    return;
  }
  RECT invalid = IsRectEmpty(&rect_) ? rect : rect_;
  rect_ = rect;
  if (!window_) return;
  if (!in_resize_notify_) {
    in_resize_notify_ = true;
    auto alive = GetWeakFlag();
    window_->SendNotify(this, kEventResize);
    if (alive.expired()) return;
    in_resize_notify_ = false;
  }
  is_arranged_ = false;
  UnionRect(&invalid, &invalid, &rect_);
  InvalidateOnWindow(invalid);
}

void Control::SetState(ControlStateType state) {
  if (state == kControlStateNormal) hot_alpha_ = 0;
  if (state == kControlStateHot) hot_alpha_ = 255;
  state_ = state;
  Invalidate();
}

std::wstring Control::GetToolTipText() const {
  if (tooltip_text_.empty() && !tooltip_text_id_.empty())
    return LanguageTable::GetInstance()->GetStringViaID(tooltip_text_id_);
  return tooltip_text_;
}

void Control::SetToolTipText(const std::wstring& text) {
  std::wstring stored = text;
  ReplaceAll(L"<n>", L"\r\n", stored);
  tooltip_text_ = stored;
  Invalidate();
}

std::string Control::GetUTF8ToolTipText() const { return WideToUtf8Bytes(GetToolTipText()); }

void Control::SetUTF8ToolTipText(const std::string& text) {
  if (text.empty()) {
    tooltip_text_.clear();
    Invalidate();
    return;
  }
  const std::wstring wide = Utf8BytesToWide(text.data(), text.size());
  if (wide != tooltip_text_) SetToolTipText(wide);
}

void Control::SetUTF8ToolTipTextId(const std::string& id) {
  SetToolTipTextId(Utf8BytesToWide(id.data(), id.size()));
}

std::string Control::GetUTF8DataId() const { return WideToUtf8Bytes(data_id_); }

void Control::SetUTF8DataId(const std::string& id) { data_id_ = Utf8BytesToWide(id.data(), id.size()); }

void Control::SetToolTipTextId(const std::wstring& id) {
  if (id == tooltip_text_id_) return;
  tooltip_text_id_ = id;
  Invalidate();
}

void Control::SetToolTipWidth(int width) { tooltip_width_ = ScaleByDpi(width); }

void Control::SetFadeVisible(bool visible) {
  if (visible)
    animation_.Appear();
  else
    animation_.Disappear();
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  const bool was_visible = IsVisible();
  focused_ = false;
  visible_ = visible;
  if (!visible && window_ && window_->GetFocusControl() == this) window_->SetFocusControl(nullptr);
  if (IsVisible() != was_visible) ArrangeAncestor();
  if (!IsVisible() && bk_image_.image_cache && bk_image_.image_cache->frames.size() > 1) {
    bk_image_.playing = false;
    gif_timer_.Cancel();
    Invalidate();
  }
}

void Control::SetInternVisible(bool visible) {
  intern_visible_ = visible;
  if (!visible && window_ && window_->GetFocusControl() == this) window_->SetFocusControl(nullptr);
  if (!IsVisible() && bk_image_.image_cache && bk_image_.image_cache->frames.size() > 1) {
    bk_image_.playing = false;
    gif_timer_.Cancel();
    Invalidate();
  }
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (enabled) {
    state_ = kControlStateNormal;
    hot_alpha_ = 0;
  } else {
    state_ = kControlStateDisabled;
  }
  Invalidate();
}

void Control::SetFocus() {
  if (no_focus_ || !window_) return;
  window_->SetFocusControl(this);
}

Control* Control::FindControl(const FindControlCallback& callback, void* data, unsigned flags,
                              POINT) {
  if ((flags & kFindVisible) && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabled()) return nullptr;
  if (flags & kFindHitTest) {
    const POINT* point = static_cast<const POINT*>(data);
    if (!mouse_enabled_ || !point || !PtInRect(&rect_, *point)) return nullptr;
  }
  return callback(this, data);
}

void Control::SetMargin(RECT margin, bool dpi_scale) {
  if (dpi_scale) DpiManager::GetInstance()->ScaleRect(margin);
  if (EqualRect(&margin, &margin_)) return;
  margin_ = margin;
  ArrangeAncestor();
}

bool Control::IsPointIn(POINT point) const {
  const SIZE offset = GetScrollOffset();
  point.x += offset.cx;
  point.y += offset.cy;
  return PtInRect(&rect_, point) != FALSE;
}

bool Control::HasHotState() {
  return state_colors_.HasHotColor() || state_images_.HasHotImage();
}

bool Control::HasHotFade() const {
  return animation_.GetAnimationPlayer(kAnimationHot) != nullptr;
}

void Control::SetAlpha(int alpha) {
  alpha_ = alpha;
  Invalidate();
}

void Control::SetHotAlpha(int alpha) {
  hot_alpha_ = alpha;
  Invalidate();
}

void Control::SetRenderOffset(POINT offset) {
  render_offset_ = offset;
  Invalidate();
}

void Control::SetBkColor(const std::wstring& color) {
  size_t skip = 0;
  while (skip < color.size() && color[skip] >= 1 && color[skip] <= 32) ++skip;
  const std::wstring value = color.substr(skip);
  if (value == bk_color_) return;
  bk_color_ = value;
  Invalidate();
}

void Control::SetStateColor(ControlStateType state, const std::wstring& color) {
  if (state_colors_[state] == color) return;
  if (state == kControlStateHot) animation_.SetFadeHot(true);
  state_colors_[state] = color;
  Invalidate();
}

void Control::ArrangeOrInvalidate() {
  if (IsAutoSized())
    ArrangeAncestor();
  else
    Invalidate();
}

void Control::SetStateImage(StateImageType type, ControlStateType state, const std::wstring& image) {
  if (state == kControlStateHot && (type == kStateImageBk || type == kStateImageFore))
    animation_.SetFadeHot(true);
  state_images_.SetImage(type, state, image);
  if (type == kStateImageFore)
    Invalidate();
  else
    ArrangeOrInvalidate();
}

void Control::SetBkImage(const std::wstring& image) {
  if (bk_image_.image_cache && bk_image_.image_cache->frames.size() > 1) {
    bk_image_.playing = false;
    gif_timer_.Cancel();
    Invalidate();
  }
  bk_image_.ClearCache();
  bk_image_.attribute.Init();
  bk_image_.SetImageString(image);
  PrefetchImage(bk_image_);
  gif_play_enabled_ = bk_image_.attribute.play_count != 0;
  ArrangeOrInvalidate();
}

void Control::SetBorderColor(const std::wstring& color) {
  if (color == border_color_) return;
  border_color_ = color;
  Invalidate();
}

void Control::SetBorderSize(int size) {
  size = ScaleByDpi(size);
  border_size_ = size;
  border_sides_ = RECT{0, 0, 0, 0};
  Invalidate();
}

void Control::SetBorderSize(RECT sides) {
  DpiManager::GetInstance()->ScaleRect(sides);
  border_sides_ = sides;
  Invalidate();
}

void Control::SendEvent(int type, WPARAM wparam, LPARAM lparam, wchar_t key, POINT mouse,
                        float pressure) {
  EventArgs args;
  args.Type = type;
  args.pSender = this;
  args.dwTimestamp = GetTickCount();
  args.chKey = key;
  args.wParam = wparam;
  args.lParam = lparam;
  args.pressure = pressure;
  args.ptMouse = mouse;
  if (mouse.x == 0 && mouse.y == 0 && window_) args.ptMouse = window_->GetLastMousePos();
  HandleMessageTemplate(args);
}

void Control::HandleMessageTemplate(EventArgs& args) {
  if (args.Type < kEventNone || args.pSender != this) {
    HandleMessage(args);
    return;
  }
  std::weak_ptr<base::WeakFlag> flag = GetWeakFlag();
  const std::function<bool()> alive = [flag] { return !flag.expired(); };
  bool result = true;
  if (!RunHandlerLists(event_map_, &args, result, alive)) return;
  if (!result) return;
  if (!RunHandlerLists(xml_event_map_, &args, result, alive)) return;
  if (result) HandleMessage(args);
}

void Control::Bubble(EventArgs& args) {
  if (parent_) static_cast<Control*>(parent_)->HandleMessageTemplate(args);
}

bool Control::IsHoverInside() const {
  if (!window_) return false;
  for (const Control* hover = window_->GetHoverControl(); hover;
       hover = static_cast<const Control*>(hover->GetParent())) {
    if (hover == this) return true;
  }
  return false;
}

void Control::HandleMessage(EventArgs& args) {
  const int type = args.Type;
  if (PassesMouseEventOn(type)) {
    Bubble(args);
    return;
  }
  switch (type) {
    case kEventSetCursor: {
      LPCWSTR id = nullptr;
      if (cursor_type_ == kCursorArrow) id = IDC_ARROW;
      if (cursor_type_ == kCursorHand) id = enabled_ ? IDC_HAND : IDC_ARROW;
      if (cursor_type_ == kCursorHandIbeam) id = IDC_IBEAM;
      if (!id) break;
      ::SetCursor(LoadCursorW(nullptr, id));
      return;
    }
    case kEventInternalSetFocus:
      SetHotAlpha(255);
      SetState(kControlStateHot);
      focused_ = true;
      Invalidate();
      return;
    case kEventInternalKillFocus:
      SetHotAlpha(0);
      SetState(kControlStateNormal);
      focused_ = false;
      Invalidate();
      return;
    case kEventInternalMenu:
      if (enabled_ && menu_used_ && window_) {
        window_->SendNotify(this, kEventMouseMenu, args.wParam, args.lParam);
        return;
      }
      break;
    case kEventMouseEnter:
      if (args.pSender == this) {
        MouseEnter(args);
      } else {
        if (!IsHoverInside()) return;
        MouseEnter(args);
      }
      break;
    case kEventMouseLeave:
      if (args.pSender != this && window_ && window_->GetHoverControl() && IsHoverInside()) return;
      MouseLeave(args);
      break;
    case kEventInternalDoubleClick:
    case kEventMouseButtonDown:
      ButtonDown(args);
      return;
    case kEventMouseButtonUp:
      ButtonUp(args);
      return;
    case kEventPointDown:
      if (!receive_pointer_) break;
      ButtonDown(args);
      return;
    case kEventPointUp:
      if (!receive_pointer_) break;
      ButtonUp(args);
      return;
    default:
      break;
  }
  Bubble(args);
}

bool Control::MouseEnter(EventArgs&) {
  if (!enabled_ || state_ != kControlStateNormal) return false;
  state_ = kControlStateHot;
  if (HasHotState()) {
    animation_.MouseEnter();
    Invalidate();
  }
  return true;
}

bool Control::MouseLeave(EventArgs&) {
  if (!enabled_ || state_ != kControlStateHot) return false;
  state_ = kControlStateNormal;
  if (HasHotState()) {
    animation_.MouseLeave();
    Invalidate();
  }
  return true;
}

bool Control::ButtonDown(EventArgs&) {
  if (!enabled_) return false;
  state_ = kControlStatePushed;
  SetMouseFocused(true);
  Invalidate();
  return true;
}

bool Control::ButtonUp(EventArgs& args) {
  if (!mouse_focused_) return false;
  SetMouseFocused(false);
  if (AnimationPlayer* hot = animation_.GetAnimationPlayer(kAnimationHot)) hot->Stop();
  Invalidate();
  if (!IsPointIn(args.ptMouse)) {
    state_ = kControlStateNormal;
    hot_alpha_ = 0;
    return false;
  }
  if (args.Type == kEventPointUp) {
    state_ = kControlStateNormal;
    hot_alpha_ = 0;
  } else {
    state_ = kControlStateHot;
    hot_alpha_ = 255;
  }
  Activate();
  return true;
}

void Control::SetClass(const std::wstring& names) {
  for (const std::wstring& name : SplitString(names, L" ")) {
    std::wstring list = GlobalManager::GetClassAttributes(name);
    if (list.empty() && window_) list = window_->GetClassAttributes(name);
    if (list.empty()) continue;
    AttributeListScope scope(this, L"class \"" + name + L"\"");
    if (scope.Entered()) ApplyAttributeList(list);
  }
}

void Control::ApplyAttributeList(const std::wstring& list) {
  size_t i = 0;
  while (i < list.size()) {
    const size_t equals = list.find(L'=', i);
    if (equals == std::wstring::npos || equals + 1 >= list.size() || list[equals + 1] != L'"') return;
    const size_t close = list.find(L'"', equals + 2);
    if (close == std::wstring::npos) return;
    SetAttribute(list.substr(i, equals - i), list.substr(equals + 2, close - equals - 2));
    i = close + 1;
    if (i >= list.size()) return;
    if (list[i] != L' ') return;
    ++i;
  }
}

bool Control::ApplyAttributeListTo(const std::wstring& receiver, const std::wstring& list) {
  Control* target = nullptr;
  if (receiver.compare(0, 2, L".\\") == 0 || receiver.compare(0, 2, L"./") == 0) {
    const std::wstring name = receiver.substr(2);
    target = FindControl(
        [&name](Control* control, void*) -> Control* {
          const std::wstring own = control->GetName();
          return !own.empty() && _wcsicmp(own.c_str(), name.c_str()) == 0 ? control : nullptr;
        },
        nullptr, 0);
  } else if (window_) {
    target = window_->FindControlByName(receiver);
  }
  if (!target) return true;
  AttributeListScope scope(target, L"attributes \"" + list + L"\"");
  if (scope.Entered()) target->ApplyAttributeList(list);
  return true;
}

}  // namespace ui
