// The render context: a 32-bit DIB in a memory DC; bitmaps go through GDI, shapes and text
// through GDI+.
#pragma once

#include <vector>

#include "render/GdiBitmap.h"
#include "render/GdiClip.h"
#include "render/GdiPlusFlat.h"
#include "render/RenderInterfaces.h"

namespace ui {

class RenderContext_GdiPlus : public IRenderContext {
 public:
  RenderContext_GdiPlus();
  ~RenderContext_GdiPlus() override;
  RenderContext_GdiPlus(const RenderContext_GdiPlus&) = delete;
  RenderContext_GdiPlus& operator=(const RenderContext_GdiPlus&) = delete;

  HDC GetDC() override { return dc_; }
  bool Resize(int width, int height, bool flip_bits = true) override;
  void Clear() override { bitmap_.Clear(); }
  IRenderContext* Clone() override;
  HBITMAP DetachBitmap() override;
  BYTE* GetBits() override { return static_cast<BYTE*>(bitmap_.GetBits()); }
  int GetWidth() override { return bitmap_.GetWidth(); }
  int GetHeight() override { return bitmap_.GetHeight(); }
  void ClearAlpha(const RECT& dirty, int alpha = 0) override { bitmap_.ClearAlpha(dirty, alpha); }
  void RestoreAlpha(const RECT& dirty, const RECT& shadow, int alpha = 0) override {
    bitmap_.RestoreAlpha(dirty, shadow, alpha);
  }
  bool IsRenderTransparent() const override { return render_transparent_; }
  bool SetRenderTransparent(bool transparent) override;

  int Save() override;
  void Restore() override;
  POINT OffsetWindowOrg(POINT offset) override;
  POINT SetWindowOrg(POINT origin) override;
  POINT GetWindowOrg() const override;
  void SetClip(const RECT& rect) override { clip_.CreateClip(dc_, rect); }
  void SetRoundClip(const RECT& rect, int width, int height) override {
    clip_.CreateRoundClip(dc_, rect, width, height);
  }
  void ClearClip() override { clip_.ClearClip(dc_); }

  BOOL BitBlt(int x, int y, int cx, int cy, HDC src_dc, int x_src = 0, int y_src = 0,
              DWORD rop = SRCCOPY) override;
  bool AlphaBlend(int x_dest, int y_dest, int width_dest, int height_dest, HDC src_dc, int x_src,
                  int y_src, int width_src, int height_src, BYTE alpha = 255) override;
  void DrawImage(const RECT& paint_rect, HBITMAP bitmap, bool has_alpha, const RECT& dest,
                 const RECT& source, const RECT& corners, BYTE fade = 255, bool xtiled = false,
                 bool ytiled = false) override;
  void DrawColor(const RECT& rect, const std::wstring& color_name, BYTE alpha = 255) override;
  void DrawColor(const RECT& rect, DWORD color, BYTE alpha = 255) override;
  void DrawLine(const IPen* pen, int x1, int y1, int x2, int y2) override;
  void DrawLine(const RECT& rect, int width, DWORD color) override;
  void DrawBezier(const IPen* pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                  int y4) override;
  void DrawRect(const RECT& rect, int width, DWORD color) override;
  void DrawRoundRect(const RECT& rect, const SIZE& round_size, int width, DWORD color) override;
  void DrawText(const RECT& rect, const std::wstring& text, DWORD color,
                const std::wstring& font_id, UINT style, BYTE fade = 255,
                bool line_limit = false) override;
  void DrawEllipse(const RECT& rect, int width, DWORD color) override;
  void FillEllipse(const RECT& rect, DWORD color) override;
  RECT MeasureText(const std::wstring& text, const std::wstring& font_id, UINT style,
                   int width = -1) override;
  void DrawPath(const IPath* path, const IPen* pen) override;
  void FillPath(const IPath* path, const IBrush* brush) override;

 private:
  // Blits one nine-grid piece, stretched or alpha-blended.
  void DrawImagePiece(HDC src_dc, const RECT& dest, const RECT& source, bool has_alpha, BYTE fade);
  void DrawImageMiddle(HDC src_dc, const RECT& middle, const RECT& source_middle, bool has_alpha,
                       BYTE fade, bool xtiled, bool ytiled);
  // An opaque fill written straight into the bitmap's pixels inside the DC's clip, as GDI+
  // would write it but without its cost; false when the clip cannot be read (GDI+ draws then).
  bool FillOpaque(const RECT& rect, DWORD color);
  // A one-pixel opaque outline of `rect`, right and bottom edges included, as fills.
  bool FillOutline(const RECT& rect, DWORD color);
  // A one-pixel opaque round rectangle: its straight sides as fills, each corner by GDI+ within
  // a box around it, since GDI+ takes time in proportion to the area a path spans. False when
  // the corners' boxes would meet or a side could not be filled (GDI+ draws it whole then).
  bool DrawRoundRectByCorners(const RECT& rect, const SIZE& round_size, DWORD color);
  // The part of `area` (device units) inside `clip`, which this changes.
  bool FillOpaqueWithin(HRGN clip, const RECT& area, DWORD color);
  // Outlines with a new pen of `color` and `width`; anti-aliased when asked.
  template <typename Draw>
  void WithPen(DWORD color, int width, bool anti_alias, Draw draw);

  HDC dc_ = nullptr;
  // Ids of the nested Save calls; Restore goes back to the latest.
  std::vector<int> saved_states_;
  HGDIOBJ previous_bitmap_ = nullptr;
  bool render_transparent_ = false;
  GdiClip clip_;
  GdiBitmap bitmap_;
};

}  // namespace ui
