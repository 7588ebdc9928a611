// WM_PAINT: auto-size, arrangement, the root painted into the render context, then the
// layered update or a plain copy to the screen.
#include <algorithm>

#include "control/AnimationManager.h"
#include "control/Control.h"
#include "image/ImagePrefetch.h"
#include "layout/Box.h"
#include "render/RenderInterfaces.h"
#include "window/Window.h"

namespace ui {

void Window::AutoSizeRoot() {
  if (root_->GetFixedWidth() != kSizeAuto && root_->GetFixedHeight() != kSizeAuto) return;
  const SIZE estimate = root_->EstimateSize(SIZE{99999, 99999});
  int width = std::max<int>(estimate.cx, root_->GetMinWidth());
  if (root_->GetMaxWidth() >= 0) width = std::min(width, root_->GetMaxWidth());
  int height = std::max<int>(estimate.cy, root_->GetMinHeight());
  if (root_->GetMaxHeight() >= 0) height = std::min(height, root_->GetMaxHeight());
  RECT window_rect;
  GetWindowRect(hwnd_, &window_rect);
  MoveWindow(hwnd_, window_rect.left, window_rect.top, width, height, TRUE);
}

void Window::ArrangeTree(const RECT& client) {
  arrange_needed_ = false;
  if (IsRectEmpty(&client)) return;
  if (root_->NeedsArrange()) {
    root_->SetPos(client);
  } else {
    for (;;) {
      Control* pending = root_->FindControl(
          [](Control* control, void*) -> Control* {
            return control->NeedsArrange() ? control : nullptr;
          },
          nullptr, kFindVisible | kFindMeFirst);
      if (!pending) break;
      pending->SetPos(pending->GetPos(true));
    }
  }
  if (show_animation_pending_) {
    show_animation_pending_ = false;
    PlayShowAnimation();
  }
}

void Window::OnPaint() {
  PAINTSTRUCT ps;
  if (IsIconic(hwnd_) || !root_ || !render_context_) {
    SetRectEmpty(&dirty_);
    BeginPaint(hwnd_, &ps);
    EndPaint(hwnd_, &ps);
    return;
  }
  if (arrange_needed_ && root_->NeedsArrange()) AutoSizeRoot();
  // The areas gathered since the first request of this cycle join the system's update region,
  // so that the paint's DC is not clipped to the first.
  if (!IsRectEmpty(&dirty_)) InvalidateRect(hwnd_, &dirty_, FALSE);
  RECT paint;
  if (!GetUpdateRect(hwnd_, &paint, FALSE)) SetRectEmpty(&paint);
  UnionRect(&paint, &paint, &dirty_);
  SetRectEmpty(&dirty_);
  if (IsRectEmpty(&paint) && !show_animation_pending_) return;
  RECT client, window_rect;
  GetClientRect(hwnd_, &client);
  GetWindowRect(hwnd_, &window_rect);
  if (layered_) {
    // Parts of a window beyond the virtual screen are painted too.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int right = left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int bottom = top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (window_rect.left < left && paint.left == left - window_rect.left) paint.left = client.left;
    if (window_rect.top < top && paint.top == top - window_rect.top) paint.top = client.top;
    if (window_rect.right > right && paint.right == right - window_rect.left)
      paint.right = client.right;
    if (window_rect.bottom > bottom && paint.bottom == bottom - window_rect.top)
      paint.bottom = client.bottom;
  }
  BeginPaint(hwnd_, &ps);
  if (arrange_needed_) {
    ArrangeTree(client);
    // What the arrangement invalidated is painted now, not by another paint.
    UnionRect(&paint, &paint, &dirty_);
    SetRectEmpty(&dirty_);
    ValidateRect(hwnd_, nullptr);
  }
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (render_context_->GetWidth() != width || render_context_->GetHeight() != height) {
    render_context_->Resize(width, height);
    render_context_->SetRenderTransparent(!shadow_.IsAttached());
    paint = client;
  }
  if (layered_) render_context_->ClearAlpha(paint, 0);
  render_context_->Save();
  render_context_->SetClip(paint);
  const POINT old_origin = render_context_->OffsetWindowOrg(render_offset_);
  root_->Paint(render_context_.get(), paint);
  root_->PaintChild(render_context_.get(), paint);
  render_context_->SetWindowOrg(old_origin);
  render_context_->Restore();
  if (layered_) {
    PaintLayered(paint, window_rect, client);
  } else {
    ::BitBlt(ps.hdc, paint.left, paint.top, paint.right - paint.left, paint.bottom - paint.top,
             render_context_->GetDC(), paint.left, paint.top, SRCCOPY);
    NoteFrameShown();
  }
  EndPaint(hwnd_, &ps);
}

void Window::PaintLayered(const RECT& paint, const RECT& window_rect, const RECT& client) {
  const RECT& fix = alpha_fix_corner_;
  if (!shadow_.IsAttached() || render_offset_.x != 0 || render_offset_.y != 0) {
    if (fix.left > 0 || fix.top > 0 || fix.right > 0 || fix.bottom > 0) {
      RECT inner = root_->GetPaddingPos();
      inner.left += fix.left;
      inner.top += fix.top;
      inner.right -= fix.right;
      inner.bottom -= fix.bottom;
      if (IntersectRect(&inner, &inner, &paint))
        render_context_->RestoreAlpha(inner, RECT{0, 0, 0, 0}, 0);
    }
  } else {
    RECT inner = root_->GetPaddingPos();
    RECT padding = root_->GetLayout()->GetPadding();
    InflateRect(&padding, 1, 1);
    if (IntersectRect(&inner, &inner, &paint)) render_context_->RestoreAlpha(inner, padding, 0);
  }
  // Before the show fade's first visible step nothing goes out. The first frame takes that
  // step at once rather than wait for the fade timer's first tick; the step sends the frame.
  if (window_alpha_ == 0 && !layered_updated_) {
    AdvanceShowFade();
    return;
  }
  UpdateLayered(window_rect, client);
}

void Window::AdvanceShowFade() {
  if (!root_) return;
  Control* root = static_cast<Control*>(root_);
  AnimationPlayer* fade = root->GetAnimationManager().GetAnimationPlayer(kAnimationAlpha);
  if (!fade || !fade->IsPlaying()) return;
  fade->Advance();
  // A fade still at 0 takes its least visible step, so that the frame goes out now.
  if (window_alpha_ == 0) ApplyFadeAlpha(1);
}

void Window::UpdateLayered(const RECT& window_rect, const RECT& client) {
  POINT origin = {window_rect.left, window_rect.top};
  SIZE size = {client.right - client.left, client.bottom - client.top};
  POINT source = {0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(window_alpha_), AC_SRC_ALPHA};
  UpdateLayeredWindow(hwnd_, nullptr, &origin, &size, render_context_->GetDC(), &source, 0, &blend,
                      ULW_ALPHA);
  layered_updated_ = true;
  if (window_alpha_ > 0) NoteFrameShown();
}

void Window::ApplyFadeAlpha(int alpha) {
  window_alpha_ = alpha;
  if (!hwnd_) return;
  RECT window_rect = {}, client = {};
  GetWindowRect(hwnd_, &window_rect);
  GetClientRect(hwnd_, &client);
  const bool drawn = layered_ && render_context_ && root_ && !IsIconic(hwnd_) && !arrange_needed_ &&
                     IsRectEmpty(&dirty_) && !GetUpdateRect(hwnd_, nullptr, FALSE) &&
                     render_context_->GetWidth() == client.right - client.left &&
                     render_context_->GetHeight() == client.bottom - client.top;
  if (drawn) {
    UpdateLayered(window_rect, client);
    return;
  }
  if (root_) Invalidate(static_cast<Control*>(root_)->GetPos(true));
}

void Window::NoteFrameShown() {
  if (visible_frame_shown_) return;
  visible_frame_shown_ = true;
  // Images decoded ahead and not drawn now belong to controls not shown: they give their memory
  // back and are decoded when drawn.
  ImagePrefetcher::Instance().DropUntaken();
  OnFirstVisibleFrame();
}

}  // namespace ui
