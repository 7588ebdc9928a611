// A GDI+ solid or texture brush.
#pragma once

#include "render/GdiPlusFlat.h"
#include "render/RenderInterfaces.h"

namespace ui {

class Brush_GdiPlus : public IBrush {
 public:
  explicit Brush_GdiPlus(DWORD color);
  explicit Brush_GdiPlus(HBITMAP bitmap);
  ~Brush_GdiPlus() override;
  Brush_GdiPlus(const Brush_GdiPlus&) = delete;
  Brush_GdiPlus& operator=(const Brush_GdiPlus&) = delete;

  IBrush* Clone() override;
  // The solid brush, or the texture brush when there is no solid one.
  GpBrush* GetBrush() const;
  // The GDI+ brush behind `brush`; null for no brush or one of another implementation.
  static GpBrush* HandleOf(const IBrush* brush);
  Status GetLastStatus() const { return last_status_; }

 private:
  Brush_GdiPlus() : IBrush(0) {}
  void Check(Status status);

  GpSolidFill* solid_ = nullptr;
  GpTexture* texture_ = nullptr;
  Status last_status_ = Ok;
};

}  // namespace ui
