// A GDI+ graphics object on a device context for the span of one drawing call.
#pragma once

#include "render/GdiPlusFlat.h"

namespace ui {

class GdiPlusGraphics {
 public:
  GdiPlusGraphics(HDC dc, bool anti_alias) {
    GdipCreateFromHDC(dc, &graphics_);
    if (graphics_ && anti_alias) GdipSetSmoothingMode(graphics_, SmoothingModeAntiAlias);
  }
  ~GdiPlusGraphics() {
    if (graphics_) GdipDeleteGraphics(graphics_);
  }
  GdiPlusGraphics(const GdiPlusGraphics&) = delete;
  GdiPlusGraphics& operator=(const GdiPlusGraphics&) = delete;

  GpGraphics* get() const { return graphics_; }

 private:
  GpGraphics* graphics_ = nullptr;
};

}  // namespace ui
