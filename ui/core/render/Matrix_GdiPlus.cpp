#include "render/Matrix_GdiPlus.h"

namespace ui {

GpMatrix* Matrix_GdiPlus::HandleOf(const IMatrix* matrix) {
  const auto* own = dynamic_cast<const Matrix_GdiPlus*>(matrix);
  return own ? own->GetMatrix() : nullptr;
}

Matrix_GdiPlus::Matrix_GdiPlus() { Check(GdipCreateMatrix(&matrix_)); }

Matrix_GdiPlus::~Matrix_GdiPlus() {
  if (matrix_) GdipDeleteMatrix(matrix_);
}

void Matrix_GdiPlus::Check(Status status) {
  if (status != Ok) last_status_ = status;
}

void Matrix_GdiPlus::Translate(int dx, int dy) {
  Check(GdipTranslateMatrix(matrix_, static_cast<REAL>(dx), static_cast<REAL>(dy),
                            MatrixOrderPrepend));
}

void Matrix_GdiPlus::Scale(int sx, int sy) {
  Check(GdipScaleMatrix(matrix_, static_cast<REAL>(sx), static_cast<REAL>(sy), MatrixOrderPrepend));
}

void Matrix_GdiPlus::Rotate(float angle) {
  Check(GdipRotateMatrix(matrix_, angle, MatrixOrderPrepend));
}

void Matrix_GdiPlus::RotateAt(float angle, const POINT& center) {
  Translate(center.x, center.y);
  Rotate(angle);
  Translate(-center.x, -center.y);
}

}  // namespace ui
