#include "render/RenderContext_GdiPlus.h"

#include <climits>
#include <cstdint>
#include <vector>

#include "render/Brush_GdiPlus.h"
#include "render/GdiPlusGraphics.h"
#include "resources/GlobalManager.h"
#include "render/Path_GdiPlus.h"
#include "render/Pen_GdiPlus.h"

namespace ui {

RenderContext_GdiPlus::RenderContext_GdiPlus() {
  HDC screen = ::GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  ::ReleaseDC(nullptr, screen);
}

RenderContext_GdiPlus::~RenderContext_GdiPlus() {
  if (previous_bitmap_) SelectObject(dc_, previous_bitmap_);
  DeleteDC(dc_);
}

bool RenderContext_GdiPlus::Resize(int width, int height, bool flip_bits) {
  if (width == bitmap_.GetWidth() && height == bitmap_.GetHeight()) return false;
  if (previous_bitmap_) SelectObject(dc_, previous_bitmap_);
  const bool created = bitmap_.Init(dc_, width, height, flip_bits);
  previous_bitmap_ = created ? SelectObject(dc_, bitmap_.GetBitmap()) : nullptr;
  return created;
}

IRenderContext* RenderContext_GdiPlus::Clone() {
  RenderContext_GdiPlus* copy = new RenderContext_GdiPlus();
  copy->Resize(GetWidth(), GetHeight());
  ::BitBlt(copy->dc_, 0, 0, GetWidth(), GetHeight(), dc_, 0, 0, SRCCOPY);
  return copy;
}

HBITMAP RenderContext_GdiPlus::DetachBitmap() {
  if (!previous_bitmap_) return nullptr;
  SelectObject(dc_, previous_bitmap_);
  previous_bitmap_ = nullptr;
  return bitmap_.DetachBitmap();
}

bool RenderContext_GdiPlus::SetRenderTransparent(bool transparent) {
  const bool old = render_transparent_;
  render_transparent_ = transparent;
  return old;
}

int RenderContext_GdiPlus::Save() {
  saved_states_.push_back(SaveDC(dc_));
  return saved_states_.back();
}

void RenderContext_GdiPlus::Restore() {
  if (saved_states_.empty()) return;
  RestoreDC(dc_, saved_states_.back());
  saved_states_.pop_back();
}

POINT RenderContext_GdiPlus::OffsetWindowOrg(POINT offset) {
  POINT old = GetWindowOrg();
  SetWindowOrgEx(dc_, old.x + offset.x, old.y + offset.y, nullptr);
  return old;
}

POINT RenderContext_GdiPlus::SetWindowOrg(POINT origin) {
  POINT old = {};
  SetWindowOrgEx(dc_, origin.x, origin.y, &old);
  return old;
}

POINT RenderContext_GdiPlus::GetWindowOrg() const {
  POINT origin = {};
  GetWindowOrgEx(dc_, &origin);
  return origin;
}

BOOL RenderContext_GdiPlus::BitBlt(int x, int y, int cx, int cy, HDC src_dc, int x_src, int y_src,
                                   DWORD rop) {
  return ::BitBlt(dc_, x, y, cx, cy, src_dc, x_src, y_src, rop);
}

bool RenderContext_GdiPlus::AlphaBlend(int x_dest, int y_dest, int width_dest, int height_dest,
                                       HDC src_dc, int x_src, int y_src, int width_src,
                                       int height_src, BYTE alpha) {
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  return ::AlphaBlend(dc_, x_dest, y_dest, width_dest, height_dest, src_dc, x_src, y_src, width_src,
                      height_src, blend) == TRUE;
}

void RenderContext_GdiPlus::DrawColor(const RECT& rect, const std::wstring& color_name,
                                      BYTE alpha) {
  if (color_name.empty()) return;
  DrawColor(rect, GlobalManager::GetTextColor(color_name), alpha);
}

void RenderContext_GdiPlus::DrawColor(const RECT& rect, DWORD color, BYTE alpha) {
  if (alpha < 255) {
    const DWORD faded_alpha = (color >> 24) * alpha / 255;
    color = (faded_alpha << 24) | (color & 0x00FFFFFF);
  }
  if ((color >> 24) == 0xFF && FillOpaque(rect, color)) return;
  GdiPlusGraphics graphics(dc_, false);
  Brush_GdiPlus brush(color);
  GdipFillRectangle(graphics.get(), brush.GetBrush(), static_cast<REAL>(rect.left),
                    static_cast<REAL>(rect.top), static_cast<REAL>(rect.right - rect.left),
                    static_cast<REAL>(rect.bottom - rect.top));
}

bool RenderContext_GdiPlus::FillOpaque(const RECT& rect, DWORD color) {
  POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
  if (!LPtoDP(dc_, corners, 2)) return false;
  const RECT area = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  if (!clip) return false;
  bool filled = false;
  switch (GetClipRgn(dc_, clip)) {
    case 0:  // no clip
      bitmap_.FillOpaque(area, color);
      filled = true;
      break;
    case 1:
      filled = FillOpaqueWithin(clip, area, color);
      break;
    default:
      break;
  }
  DeleteObject(clip);
  return filled;
}

bool RenderContext_GdiPlus::FillOpaqueWithin(HRGN clip, const RECT& area, DWORD color) {
  HRGN area_region = CreateRectRgnIndirect(&area);
  if (!area_region) return false;
  const int kind = CombineRgn(clip, clip, area_region, RGN_AND);
  DeleteObject(area_region);
  if (kind == ERROR) return false;
  const DWORD size = GetRegionData(clip, 0, nullptr);
  std::vector<BYTE> data(size);
  auto* region = reinterpret_cast<RGNDATA*>(data.data());
  if (size < sizeof(RGNDATAHEADER) || GetRegionData(clip, size, region) != size) return false;
  const auto* rects = reinterpret_cast<const RECT*>(region->Buffer);
  for (DWORD i = 0; i < region->rdh.nCount; ++i) bitmap_.FillOpaque(rects[i], color);
  return true;
}

bool RenderContext_GdiPlus::FillOutline(const RECT& rect, DWORD color) {
  const LONG l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  // GDI+ has its own rules for flat outlines; the far edges must stay within LONG.
  if (r <= l || b <= t || r == LONG_MAX || b == LONG_MAX) return false;
  // A failed side leaves GDI+ to draw the whole outline: opaque pixels drawn twice stay the same.
  for (const RECT& side : {RECT{l, t, r + 1, t + 1}, RECT{l, b, r + 1, b + 1},
                           RECT{l, t + 1, l + 1, b}, RECT{r, t + 1, r + 1, b}}) {
    if (!FillOpaque(side, color)) return false;
  }
  return true;
}

template <typename Draw>
void RenderContext_GdiPlus::WithPen(DWORD color, int width, bool anti_alias, Draw draw) {
  GdiPlusGraphics graphics(dc_, anti_alias);
  Pen_GdiPlus pen(color, width);
  draw(graphics.get(), pen.GetPen());
}

void RenderContext_GdiPlus::DrawLine(const IPen* pen, int x1, int y1, int x2, int y2) {
  GpPen* handle = Pen_GdiPlus::HandleOf(pen);
  if (!handle) return;
  GdiPlusGraphics graphics(dc_, true);
  GdipDrawLineI(graphics.get(), handle, x1, y1, x2, y2);
}

void RenderContext_GdiPlus::DrawLine(const RECT& rect, int width, DWORD color) {
  WithPen(color, width, false, [&](GpGraphics* graphics, GpPen* pen) {
    GdipDrawLineI(graphics, pen, rect.left, rect.top, rect.right, rect.bottom);
  });
}

void RenderContext_GdiPlus::DrawBezier(const IPen* pen, int x1, int y1, int x2, int y2, int x3,
                                       int y3, int x4, int y4) {
  GpPen* handle = Pen_GdiPlus::HandleOf(pen);
  if (!handle) return;
  GdiPlusGraphics graphics(dc_, true);
  GdipDrawBezierI(graphics.get(), handle, x1, y1, x2, y2, x3, y3, x4, y4);
}

void RenderContext_GdiPlus::DrawRect(const RECT& rect, int width, DWORD color) {
  if (width == 1 && (color >> 24) == 0xFF && FillOutline(rect, color)) return;
  WithPen(color, width, false, [&](GpGraphics* graphics, GpPen* pen) {
    GdipDrawRectangleI(graphics, pen, rect.left, rect.top, rect.right - rect.left,
                       rect.bottom - rect.top);
  });
}

void RenderContext_GdiPlus::DrawRoundRect(const RECT& rect, const SIZE& round_size, int width,
                                          DWORD color) {
  if (width == 1 && (color >> 24) == 0xFF && DrawRoundRectByCorners(rect, round_size, color))
    return;
  const int cx = round_size.cx, cy = round_size.cy;
  const LONG l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  Path_GdiPlus path;
  path.AddArc(l, t, cx, cy, 180, 90);
  path.AddLine(l + cx, t, r - cx, t);
  path.AddArc(r - cx, t, cx, cy, 270, 90);
  path.AddLine(r, t + cy, r, b - cy);
  path.AddArc(r - cx, b - cy, cx, cy, 0, 90);
  path.AddLine(r - cx, b, l + cx, b);
  path.AddArc(l, b - cy, cx, cy, 90, 90);
  path.AddLine(l, b - cy, l, t + cy);
  path.CloseFigure();
  WithPen(color, width, true,
          [&](GpGraphics* graphics, GpPen* pen) { GdipDrawPath(graphics, pen, path.GetPath()); });
}

bool RenderContext_GdiPlus::DrawRoundRectByCorners(const RECT& rect, const SIZE& round_size,
                                                   DWORD color) {
  // Each corner's path runs on past its box, so that the pen's ends fall outside the box and
  // what GDI+ draws inside is exactly what the whole outline draws there.
  constexpr int kMargin = 2, kRunOn = kMargin + 2;
  const LONG cx = round_size.cx, cy = round_size.cy;
  const LONG l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  // The boxes must not meet, and every coordinate below must stay within LONG.
  const int64_t width = int64_t{r} - l, height = int64_t{b} - t;
  if (cx < 0 || cy < 0 || width < 2 * (int64_t{cx} + kMargin) ||
      height < 2 * (int64_t{cy} + kMargin) || r >= LONG_MAX - kMargin ||
      b >= LONG_MAX - kMargin || l <= LONG_MIN + kMargin || t <= LONG_MIN + kMargin)
    return false;
  const LONG inner_left = l + cx + kMargin, inner_right = r - cx - kMargin + 1;
  const LONG inner_top = t + cy + kMargin, inner_bottom = b - cy - kMargin + 1;
  // The straight sides between the boxes; opaque pixels drawn twice stay the same.
  for (const RECT& side :
       {RECT{inner_left, t, inner_right, t + 1}, RECT{inner_left, b, inner_right, b + 1},
        RECT{l, inner_top, l + 1, inner_bottom}, RECT{r, inner_top, r + 1, inner_bottom}}) {
    if (!FillOpaque(side, color)) return false;
  }
  struct Corner {
    RECT box;
    POINT side_in[2], side_out[2];  // the sides running into the arc and out of it
    POINT arc;                      // top left of the arc's ellipse
    float start_angle;
  };
  const Corner corners[] = {
      {{l - kMargin, t - kMargin, inner_left, inner_top},
       {{l, t + cy + kRunOn}, {l, t + cy}}, {{l + cx, t}, {l + cx + kRunOn, t}}, {l, t}, 180},
      {{inner_right, t - kMargin, r + 1 + kMargin, inner_top},
       {{r - cx - kRunOn, t}, {r - cx, t}}, {{r, t + cy}, {r, t + cy + kRunOn}}, {r - cx, t}, 270},
      {{inner_right, inner_bottom, r + 1 + kMargin, b + 1 + kMargin},
       {{r, b - cy - kRunOn}, {r, b - cy}}, {{r - cx, b}, {r - cx - kRunOn, b}}, {r - cx, b - cy},
       0},
      {{l - kMargin, inner_bottom, inner_left, b + 1 + kMargin},
       {{l + cx + kRunOn, b}, {l + cx, b}}, {{l, b - cy}, {l, b - cy - kRunOn}}, {l, b - cy}, 90}};
  WithPen(color, 1, true, [&](GpGraphics* graphics, GpPen* pen) {
    for (const Corner& c : corners) {
      Path_GdiPlus path;
      path.AddLine(c.side_in[0].x, c.side_in[0].y, c.side_in[1].x, c.side_in[1].y);
      path.AddArc(c.arc.x, c.arc.y, cx, cy, c.start_angle, 90);
      path.AddLine(c.side_out[0].x, c.side_out[0].y, c.side_out[1].x, c.side_out[1].y);
      GdipSetClipRectI(graphics, c.box.left, c.box.top, c.box.right - c.box.left,
                       c.box.bottom - c.box.top, CombineModeReplace);
      GdipDrawPath(graphics, pen, path.GetPath());
    }
  });
  return true;
}

void RenderContext_GdiPlus::DrawEllipse(const RECT& rect, int width, DWORD color) {
  WithPen(color, width, true, [&](GpGraphics* graphics, GpPen* pen) {
    GdipDrawEllipseI(graphics, pen, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top);
  });
}

void RenderContext_GdiPlus::FillEllipse(const RECT& rect, DWORD color) {
  GdiPlusGraphics graphics(dc_, true);
  Brush_GdiPlus brush(color);
  GdipFillEllipseI(graphics.get(), brush.GetBrush(), rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top);
}

void RenderContext_GdiPlus::DrawPath(const IPath* path, const IPen* pen) {
  GpPen* pen_handle = Pen_GdiPlus::HandleOf(pen);
  GpPath* path_handle = Path_GdiPlus::HandleOf(path);
  if (!pen_handle || !path_handle) return;
  GdiPlusGraphics graphics(dc_, true);
  GdipDrawPath(graphics.get(), pen_handle, path_handle);
}

void RenderContext_GdiPlus::FillPath(const IPath* path, const IBrush* brush) {
  GpBrush* brush_handle = Brush_GdiPlus::HandleOf(brush);
  GpPath* path_handle = Path_GdiPlus::HandleOf(path);
  if (!brush_handle || !path_handle) return;
  GdiPlusGraphics graphics(dc_, true);
  GdipFillPath(graphics.get(), brush_handle, path_handle);
}

}  // namespace ui
