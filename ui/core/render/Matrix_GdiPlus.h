// A GDI+ transformation matrix; every operation prepends.
#pragma once

#include "render/GdiPlusFlat.h"
#include "render/RenderInterfaces.h"

namespace ui {

class Matrix_GdiPlus : public IMatrix {
 public:
  Matrix_GdiPlus();
  ~Matrix_GdiPlus() override;
  Matrix_GdiPlus(const Matrix_GdiPlus&) = delete;
  Matrix_GdiPlus& operator=(const Matrix_GdiPlus&) = delete;

  void Translate(int dx, int dy) override;
  void Scale(int sx, int sy) override;
  void Rotate(float angle) override;
  void RotateAt(float angle, const POINT& center) override;

  GpMatrix* GetMatrix() const { return matrix_; }
  // The GDI+ matrix behind `matrix`; null for no matrix or one of another implementation.
  static GpMatrix* HandleOf(const IMatrix* matrix);
  Status GetLastStatus() const { return last_status_; }

 private:
  void Check(Status status);

  GpMatrix* matrix_ = nullptr;
  Status last_status_ = Ok;
};

}  // namespace ui
