#include "render/Brush_GdiPlus.h"

namespace ui {

GpBrush* Brush_GdiPlus::HandleOf(const IBrush* brush) {
  const auto* own = dynamic_cast<const Brush_GdiPlus*>(brush);
  return own ? own->GetBrush() : nullptr;
}

Brush_GdiPlus::Brush_GdiPlus(DWORD color) : IBrush(color) {
  Check(GdipCreateSolidFill(color, &solid_));
}

Brush_GdiPlus::Brush_GdiPlus(HBITMAP bitmap) : IBrush(0) {
  GpBitmap* image = nullptr;
  Check(GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image));
  if (!image) return;
  Check(GdipCreateTexture(image, WrapModeTile, &texture_));
  GdipDisposeImage(image);
}

Brush_GdiPlus::~Brush_GdiPlus() {
  if (solid_) GdipDeleteBrush(solid_);
  if (texture_) GdipDeleteBrush(texture_);
}

void Brush_GdiPlus::Check(Status status) {
  if (status != Ok) last_status_ = status;
}

GpBrush* Brush_GdiPlus::GetBrush() const {
  return solid_ ? static_cast<GpBrush*>(solid_) : static_cast<GpBrush*>(texture_);
}

IBrush* Brush_GdiPlus::Clone() {
  Brush_GdiPlus* copy = new Brush_GdiPlus();
  copy->color_ = color_;
  GpBrush* cloned = nullptr;
  if (GpBrush* brush = GetBrush()) copy->Check(GdipCloneBrush(brush, &cloned));
  if (solid_)
    copy->solid_ = static_cast<GpSolidFill*>(cloned);
  else
    copy->texture_ = static_cast<GpTexture*>(cloned);
  return copy;
}

}  // namespace ui
