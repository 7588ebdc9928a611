#include "render/GdiBitmap.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace ui {

void GdiBitmap::CleanUp() {
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

bool GdiBitmap::Init(HDC hdc, int width, int height, bool flip_bits) {
  CleanUp();
  if (!hdc || width <= 0 || height <= 0) return false;
  // Sizes and offsets into the pixels must stay within int for GDI and the callers.
  const uint64_t image_size = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4;
  if (image_size > static_cast<uint64_t>(INT_MAX)) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = flip_bits ? -height : height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(image_size);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_) return false;
  BITMAP description = {};
  GetObjectW(bitmap_, sizeof(description), &description);
  bits_ = static_cast<BYTE*>(description.bmBits);
  width_ = width;
  height_ = height;
  return true;
}

void GdiBitmap::Clear() {
  if (bits_) std::memset(bits_, 0, static_cast<size_t>(width_) * height_ * 4);
}

HBITMAP GdiBitmap::DetachBitmap() {
  HBITMAP bitmap = bitmap_;
  bitmap_ = nullptr;
  CleanUp();
  return bitmap;
}

bool GdiBitmap::ClampToBitmap(const RECT& dirty, RECT& clamped) const {
  clamped.left = std::max<LONG>(dirty.left, 0);
  clamped.top = std::max<LONG>(dirty.top, 0);
  clamped.right = std::min<LONG>(dirty.right, width_);
  clamped.bottom = std::min<LONG>(dirty.bottom, height_);
  return bits_ && clamped.left < clamped.right && clamped.top < clamped.bottom;
}

void GdiBitmap::ClearAlpha(const RECT& dirty, int alpha) {
  RECT area;
  if (!ClampToBitmap(dirty, area)) return;
  for (LONG y = area.top; y < area.bottom; ++y) {
    BYTE* row = bits_ + (static_cast<size_t>(y) * width_ + area.left) * 4;
    std::memset(row, alpha, static_cast<size_t>(area.right - area.left) * 4);
  }
}

void GdiBitmap::FillOpaque(const RECT& area, DWORD argb) {
  RECT clamped;
  if (!ClampToBitmap(area, clamped)) return;
  const uint32_t pixel = argb | 0xFF000000;
  for (LONG y = clamped.top; y < clamped.bottom; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(bits_) + static_cast<size_t>(y) * width_;
    std::fill(row + clamped.left, row + clamped.right, pixel);
  }
}

void GdiBitmap::RestoreAlpha(const RECT& dirty, const RECT& shadow, int alpha) {
  RECT area;
  if (!ClampToBitmap(dirty, area)) return;
  for (LONG y = area.top; y < area.bottom; ++y) {
    const bool row_inside = y >= shadow.top && y < height_ - shadow.bottom;
    for (LONG x = area.left; x < area.right; ++x) {
      const bool column_inside = x >= shadow.left && x < width_ - shadow.right;
      if (!row_inside && !column_inside) continue;
      BYTE& pixel_alpha = bits_[(static_cast<size_t>(y) * width_ + x) * 4 + 3];
      pixel_alpha = (alpha != 0 && pixel_alpha == alpha) ? 0 : 255;
    }
  }
}

}  // namespace ui
