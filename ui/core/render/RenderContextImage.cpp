// Nine-grid bitmap drawing of the render context.
#include <algorithm>

#include "system/DpiManager.h"
#include "render/RenderContext_GdiPlus.h"

namespace ui {
namespace {

bool Meets(const RECT& piece, const RECT& paint_rect) {
  RECT ignored;
  return IntersectRect(&ignored, &piece, &paint_rect) != FALSE;
}

// Pieces of `count` tiles of `tile` source pixels covering [start, end); the last one is cut.
template <typename Visit>
void ForEachTile(LONG start, LONG end, LONG source_start, LONG tile, Visit visit) {
  if (tile <= 0) return;
  const LONG count = (end - start + tile - 1) / tile;
  for (LONG i = 0; i < count; ++i) {
    const LONG from = start + i * tile;
    const LONG to = std::min(start + (i + 1) * tile, end);
    visit(from, to, source_start, source_start + (to - from));
  }
}

// A memory DC with a bitmap selected, for the span of one DrawImage.
class SelectedBitmap {
 public:
  SelectedBitmap(HDC target, HBITMAP bitmap) : dc_(CreateCompatibleDC(target)) {
    old_ = SelectObject(dc_, bitmap);
  }
  ~SelectedBitmap() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  SelectedBitmap(const SelectedBitmap&) = delete;
  SelectedBitmap& operator=(const SelectedBitmap&) = delete;
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace

void RenderContext_GdiPlus::DrawImagePiece(HDC src_dc, const RECT& dest, const RECT& source,
                                           bool has_alpha, BYTE fade) {
  const LONG dest_width = dest.right - dest.left, dest_height = dest.bottom - dest.top;
  const LONG source_width = source.right - source.left, source_height = source.bottom - source.top;
  if (!render_transparent_ && !has_alpha && fade >= 255 &&
      (dest_width != source_width || dest_height != source_height)) {
    StretchBlt(dc_, dest.left, dest.top, dest_width, dest_height, src_dc, source.left, source.top,
               source_width, source_height, SRCCOPY);
    return;
  }
  AlphaBlend(dest.left, dest.top, dest_width, dest_height, src_dc, source.left, source.top,
             source_width, source_height, fade);
}

void RenderContext_GdiPlus::DrawImageMiddle(HDC src_dc, const RECT& middle,
                                            const RECT& source_middle, bool has_alpha, BYTE fade,
                                            bool xtiled, bool ytiled) {
  auto draw = [&](const RECT& dest, const RECT& source) {
    DrawImagePiece(src_dc, dest, source, has_alpha, fade);
  };
  const LONG tile_width = source_middle.right - source_middle.left;
  const LONG tile_height = source_middle.bottom - source_middle.top;
  if (xtiled && ytiled) {
    ForEachTile(middle.top, middle.bottom, source_middle.top, tile_height,
                [&](LONG top, LONG bottom, LONG source_top, LONG source_bottom) {
                  ForEachTile(middle.left, middle.right, source_middle.left, tile_width,
                              [&](LONG left, LONG right, LONG source_left, LONG source_right) {
                                draw({left, top, right, bottom},
                                     {source_left, source_top, source_right, source_bottom});
                              });
                });
  } else if (xtiled) {
    ForEachTile(middle.left, middle.right, source_middle.left, tile_width,
                [&](LONG left, LONG right, LONG source_left, LONG source_right) {
                  draw({left, middle.top, right, middle.bottom},
                       {source_left, source_middle.top, source_right, source_middle.bottom});
                });
  } else if (ytiled) {
    ForEachTile(middle.top, middle.bottom, source_middle.top, tile_height,
                [&](LONG top, LONG bottom, LONG source_top, LONG source_bottom) {
                  draw({middle.left, top, middle.right, bottom},
                       {source_middle.left, source_top, source_middle.right, source_bottom});
                });
  } else {
    draw(middle, source_middle);
  }
}

void RenderContext_GdiPlus::DrawImage(const RECT& paint_rect, HBITMAP bitmap, bool has_alpha,
                                      const RECT& dest, const RECT& source, const RECT& corners,
                                      BYTE fade, bool xtiled, bool ytiled) {
  if (!bitmap || !Meets(dest, paint_rect)) return;
  SelectedBitmap image(dc_, bitmap);
  const int old_mode = SetStretchBltMode(dc_, HALFTONE);

  RECT dc = corners;  // destination corners, in screen pixels
  DpiManager::GetInstance()->ScaleRect(dc);
  const RECT& c = corners;
  const RECT& d = dest;
  const RECT& s = source;

  const RECT middle = {d.left + dc.left, d.top + dc.top, d.right - dc.right, d.bottom - dc.bottom};
  const RECT source_middle = {s.left + c.left, s.top + c.top, s.right - c.right,
                              s.bottom - c.bottom};
  if (Meets(middle, paint_rect))
    DrawImageMiddle(image.dc(), middle, source_middle, has_alpha, fade, xtiled, ytiled);

  struct Piece {
    bool present;
    RECT dest;
    RECT source;
  };
  const Piece borders[] = {
      {c.left > 0 && c.top > 0,
       {d.left, d.top, d.left + dc.left, d.top + dc.top},
       {s.left, s.top, s.left + c.left, s.top + c.top}},
      {c.top > 0,
       {d.left + dc.left, d.top, d.right - dc.right, d.top + dc.top},
       {s.left + c.left, s.top, s.right - c.right, s.top + c.top}},
      {c.right > 0 && c.top > 0,
       {d.right - dc.right, d.top, d.right, d.top + dc.top},
       {s.right - c.right, s.top, s.right, s.top + c.top}},
      {c.left > 0,
       {d.left, d.top + dc.top, d.left + dc.left, d.bottom - dc.bottom},
       {s.left, s.top + c.top, s.left + c.left, s.bottom - c.bottom}},
      {c.right > 0,
       {d.right - dc.right, d.top + dc.top, d.right, d.bottom - dc.bottom},
       {s.right - c.right, s.top + c.top, s.right, s.bottom - c.bottom}},
      {c.left > 0 && c.bottom > 0,
       {d.left, d.bottom - dc.bottom, d.left + dc.left, d.bottom},
       {s.left, s.bottom - c.bottom, s.left + c.left, s.bottom}},
      {c.bottom > 0,
       {d.left + dc.left, d.bottom - dc.bottom, d.right - dc.right, d.bottom},
       {s.left + c.left, s.bottom - c.bottom, s.right - c.right, s.bottom}},
      {c.right > 0 && c.bottom > 0,
       {d.right - dc.right, d.bottom - dc.bottom, d.right, d.bottom},
       {s.right - c.right, s.bottom - c.bottom, s.right, s.bottom}},
  };
  for (const Piece& piece : borders)
    if (piece.present && Meets(piece.dest, paint_rect))
      DrawImagePiece(image.dc(), piece.dest, piece.source, has_alpha, fade);

  SetStretchBltMode(dc_, old_mode);
}

}  // namespace ui
