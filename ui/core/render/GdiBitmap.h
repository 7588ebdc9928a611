// A 32-bit DIB section: blue, green, red, alpha per pixel.
#pragma once

#include "render/RenderInterfaces.h"

namespace ui {

class GdiBitmap : public IBitmap {
 public:
  GdiBitmap() = default;
  ~GdiBitmap() override { CleanUp(); }
  GdiBitmap(const GdiBitmap&) = delete;
  GdiBitmap& operator=(const GdiBitmap&) = delete;

  bool Init(HDC hdc, int width, int height, bool flip_bits) override;
  void Clear() override;
  HBITMAP DetachBitmap() override;
  HBITMAP GetBitmap() override { return bitmap_; }
  void* GetBits() override { return bits_; }
  int GetWidth() override { return width_; }
  int GetHeight() override { return height_; }
  void ClearAlpha(const RECT& dirty, int alpha) override;
  void RestoreAlpha(const RECT& dirty, const RECT& shadow, int alpha) override;
  // Sets the pixels of `area` (device units, clipped to the bitmap) to the opaque `argb`.
  void FillOpaque(const RECT& area, DWORD argb);

 private:
  void CleanUp();
  // `dirty` clipped to the bitmap; false when nothing is left.
  bool ClampToBitmap(const RECT& dirty, RECT& clamped) const;

  HBITMAP bitmap_ = nullptr;
  BYTE* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace ui
