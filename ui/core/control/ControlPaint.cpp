// How one control draws itself: the layer decision, the six paint steps and GIF frames.
#include <shlwapi.h>

#include <algorithm>

#include "control/Control.h"
#include "resources/GlobalManager.h"
#include "render/RenderInterfaces.h"
#include "timing/TimerManager.h"
#include "window/Window.h"

namespace ui {

IRenderContext* Control::GetRenderContext() {
  if (!cache_context_) GlobalManager::CreateRenderContext(cache_context_);
  return cache_context_.get();
}

void Control::PaintLayer(IRenderContext* layer, bool round) {
  if (layer->Resize(GetWidth(), GetHeight())) cache_dirty_ = true;
  if (!cache_dirty_) return;
  layer->Clear();
  const RECT local = {0, 0, GetWidth(), GetHeight()};
  layer->SetClip(local);
  if (round) layer->SetRoundClip(local, border_round_.cx, border_round_.cy);
  IRenderContext* window_context = window_ ? window_->GetRenderContext() : nullptr;
  const bool old_transparent = window_context && window_context->IsRenderTransparent();
  if (window_context) window_context->SetRenderTransparent(true);
  const POINT old_origin =
      layer->OffsetWindowOrg(POINT{rect_.left + render_offset_.x, rect_.top + render_offset_.y});
  Paint(layer, rect_);
  layer->SetWindowOrg(old_origin);
  if (window_context) window_context->SetRenderTransparent(old_transparent);
  layer->ClearClip();
  cache_dirty_ = false;
}

void Control::BlendLayer(IRenderContext* context, IRenderContext* layer, const RECT& dirty,
                         int alpha) {
  RECT part;
  if (!IntersectRect(&part, &dirty, &rect_)) return;
  context->AlphaBlend(part.left, part.top, part.right - part.left, part.bottom - part.top,
                      layer->GetDC(), part.left - rect_.left, part.top - rect_.top,
                      part.right - part.left, part.bottom - part.top, static_cast<BYTE>(alpha));
}

void Control::AlphaPaint(IRenderContext* context, const RECT& dirty) {
  RECT unused;
  if (alpha_ == 0 || !IntersectRect(&unused, &dirty, &rect_)) return;
  const bool round = border_round_.cx > 0 || border_round_.cy > 0;
  // A layer above the budget is not made: the control then draws straight and opaque.
  const bool layer_fits = static_cast<uint64_t>(std::max(GetWidth(), 0)) *
                              static_cast<uint64_t>(std::max(GetHeight(), 0)) <=
                          kMaxLayerPixels;
  if (!layer_fits) cache_context_.reset();
  if ((alpha_ == 255 && !use_cache_) || !layer_fits) {
    context->Save();
    if (clip_) context->SetClip(rect_);
    if (round) context->SetRoundClip(rect_, border_round_.cx, border_round_.cy);
    const POINT old_origin = context->OffsetWindowOrg(render_offset_);
    Paint(context, dirty);
    PaintChild(context, dirty);
    context->SetWindowOrg(old_origin);
    context->Restore();
    return;
  }
  IRenderContext* layer = GetRenderContext();
  if (!layer) return;  // no render factory
  if (alpha_ == 255) {
    PaintLayer(layer, round);
    BlendLayer(context, layer, dirty, 255);
    PaintChild(context, dirty);
    return;
  }
  cache_dirty_ = true;
  PaintLayer(layer, round);
  PaintChild(context, dirty);
  BlendLayer(context, layer, dirty, alpha_);
  cache_context_.reset();
}

void Control::Paint(IRenderContext* context, const RECT& dirty) {
  if (!IntersectRect(&paint_rect_, &dirty, &rect_)) return;
  PaintBkColor(context);
  PaintBkImage(context);
  PaintStatusColor(context);
  PaintStatusImage(context);
  PaintText(context);
  PaintBorder(context);
}

void Control::PaintBkColor(IRenderContext* context) {
  if (bk_color_.empty()) return;
  const DWORD color = GlobalManager::GetTextColor(bk_color_);
  if (color == 0) return;
  context->DrawColor((color >> 24) == 0xFF ? paint_rect_ : rect_, color, 255);
}

void Control::PaintBkImage(IRenderContext* context) { DrawImage(context, bk_image_, L"", -1); }

void Control::PaintStatusColor(IRenderContext* context) {
  state_colors_.PaintStatusColor(context, paint_rect_, state_);
}

void Control::PaintStatusImage(IRenderContext* context) {
  state_images_.PaintStatusImage(context, kStateImageBk, state_);
  state_images_.PaintStatusImage(context, kStateImageFore, state_);
}

void Control::PaintBorder(IRenderContext* context) {
  if (border_color_.empty()) return;
  const DWORD color = GlobalManager::GetTextColor(border_color_);
  if (color == 0) return;
  const RECT& s = border_sides_;
  if (s.left < 1 && s.top < 1 && s.right < 1 && s.bottom < 1) {
    const int d = border_size_;
    if (d < 1) return;
    RECT rect = rect_;
    rect.left += d / 2;
    rect.top += d / 2;
    rect.right -= d / 2 + d % 2;
    rect.bottom -= d / 2 + d % 2;
    if (border_round_.cx > 0 || border_round_.cy > 0)
      context->DrawRoundRect(rect, border_round_, d, color);
    else
      context->DrawRect(rect, d, color);
    return;
  }
  const RECT& r = rect_;
  // A side of width 1 stops one pixel before the far corner.
  if (s.left >= 1) {
    const int x = r.left + s.left / 2;
    context->DrawLine(RECT{x, r.top, x, s.left == 1 ? r.bottom - 1 : r.bottom}, s.left, color);
  }
  if (s.top >= 1) {
    const int y = r.top + s.top / 2;
    context->DrawLine(RECT{r.left, y, s.top == 1 ? r.right - 1 : r.right, y}, s.top, color);
  }
  if (s.right >= 1) {
    const int x = r.right - (s.right + 1) / 2;
    context->DrawLine(RECT{x, r.top, x, s.right == 1 ? r.bottom - 1 : r.bottom}, s.right, color);
  }
  if (s.bottom >= 1) {
    const int y = r.bottom - (s.bottom + 1) / 2;
    context->DrawLine(RECT{r.left, y, s.bottom == 1 ? r.right - 1 : r.right, y}, s.bottom, color);
  }
}

bool Control::DrawImage(IRenderContext* context, Image& image, const std::wstring& modify,
                        int fade) {
  if (image.attribute.file_name.empty()) return false;
  // A failed load is held too, so it is not read again at the next paint.
  if (!image.image_cache) image.image_cache = GlobalManager::GetImageEntry(ImagePath(image));
  if (image.image_cache->failed) return false;
  ImageAttribute attribute = image.attribute;
  if (!modify.empty()) attribute.ModifyAttribute(modify);
  RECT dest = rect_;
  if (attribute.dest.left != -1 && attribute.dest.top != -1 && attribute.dest.right != -1 &&
      attribute.dest.bottom != -1) {
    dest = attribute.dest;
    OffsetRect(&dest, rect_.left, rect_.top);
  }
  RECT source = attribute.source;
  if (source.left == -1 || source.top == -1 || source.right == -1 || source.bottom == -1)
    source = RECT{0, 0, image.image_cache->width, image.image_cache->height};
  if (&image == &bk_image_ && image.image_cache->frames.size() > 1 && gif_play_enabled_ &&
      !image.playing) {
    GifTick();
    return true;
  }
  if (image.image_cache->frames.empty()) return false;
  const size_t frame = std::min<size_t>(image.current_frame, image.image_cache->frames.size() - 1);
  context->DrawImage(paint_rect_, image.image_cache->frames[frame], image.image_cache->alpha, dest,
                     source, attribute.corner,
                     static_cast<BYTE>(fade == -1 ? attribute.fade : fade), attribute.xtiled,
                     attribute.ytiled);
  return true;
}

std::wstring Control::ImagePath(const Image& image) const {
  const std::wstring& file = image.attribute.file_name;
  return window_ && PathIsRelativeW(file.c_str()) ? window_->GetResourcePath() + file : file;
}

bool Control::WaitsForItsWindow(const Image& image) const {
  return !window_ && PathIsRelativeW(image.attribute.file_name.c_str());
}

void Control::PrefetchImage(const Image& image) const {
  if (image.attribute.file_name.empty() || image.image_cache || WaitsForItsWindow(image)) return;
  GlobalManager::PrefetchImage(ImagePath(image));
}

void Control::GifTick() {
  Image& image = bk_image_;
  const size_t frames = image.image_cache ? image.image_cache->frames.size() : 0;
  if (frames <= 1) {
    image.playing = false;
    gif_timer_.Cancel();
    return;
  }
  const int play_count = image.attribute.play_count;
  auto should_stop = [&] {
    if (play_count < 0) return false;
    if (play_count > 0) return image.cycled_count >= play_count;
    return !image.playing;
  };
  if (!image.playing) {
    if (play_count >= 0 && should_stop() && play_count != 0) {
      gif_timer_.Cancel();
      return;
    }
    image.current_frame = 0;
    gif_timer_.Cancel();
    const int delay = image.GetCurrentInterval();
    if (delay == 0) return;
    image.playing = true;
    TimerManager::GetInstance()->AddTimer(gif_timer_.GetWeakFlag(), [this] { GifTick(); }, delay,
                                          -1);
    Invalidate();
    return;
  }
  const int old_delay = image.GetCurrentInterval();
  image.current_frame = (image.current_frame + 1) % static_cast<int>(frames);
  if (image.current_frame == 0) ++image.cycled_count;
  const int new_delay = image.GetCurrentInterval();
  if (should_stop()) {
    gif_play_enabled_ = false;
    image.current_frame = static_cast<int>(frames) - 1;
    image.playing = false;
    gif_timer_.Cancel();
    EventArgs args;
    args.Type = kEventNone;
    args.pSender = this;
    auto found = gif_map_.find(1);
    if (found != gif_map_.end()) {
      for (const EventCallback& handler : EventHandlerList(found->second))
        if (!handler(&args)) break;
    }
    Invalidate();
    return;
  }
  if (old_delay == 0 || new_delay == 0) {
    image.playing = false;
    gif_timer_.Cancel();
    return;
  }
  if (old_delay != new_delay) {
    gif_timer_.Cancel();
    TimerManager::GetInstance()->AddTimer(gif_timer_.GetWeakFlag(), [this] { GifTick(); },
                                          new_delay, -1);
  }
  Invalidate();
}

void Control::GifPlay() {
  if (!bk_image_.attribute.file_name.empty() && !bk_image_.image_cache) {
    bk_image_.image_cache = GlobalManager::GetCachedImage(ImagePath(bk_image_));
  }
}

void Control::StopGifPlay() {
  callbacks_.Cancel();
  bk_image_.ClearCache();
}

void Control::ClearImageCache() {
  state_images_.ClearCache();
  bk_image_.ClearCache();
}

}  // namespace ui
