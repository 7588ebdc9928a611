// A GDI+ pen.
#pragma once

#include "render/GdiPlusFlat.h"
#include "render/RenderInterfaces.h"

namespace ui {

class Pen_GdiPlus : public IPen {
 public:
  Pen_GdiPlus(DWORD color, int width);
  ~Pen_GdiPlus() override;
  Pen_GdiPlus(const Pen_GdiPlus&) = delete;
  Pen_GdiPlus& operator=(const Pen_GdiPlus&) = delete;

  IPen* Clone() override;
  void SetWidth(int width) override;
  int GetWidth() override;
  void SetColor(DWORD color) override;
  void SetStartCap(int cap) override;
  void SetEndCap(int cap) override;
  void SetDashCap(int cap) override;
  int GetStartCap() override;
  int GetEndCap() override;
  int GetDashCap() override;
  void SetLineJoin(int join) override;
  int GetLineJoin() override;
  void SetDashStyle(int style) override;
  int GetDashStyle() override;

  GpPen* GetPen() const { return pen_; }
  // The GDI+ pen behind `pen`; null for no pen or one of another implementation.
  static GpPen* HandleOf(const IPen* pen);
  Status GetLastStatus() const { return last_status_; }

 private:
  explicit Pen_GdiPlus(DWORD color) : IPen(color) {}
  void Check(Status status);

  GpPen* pen_ = nullptr;
  Status last_status_ = Ok;
};

}  // namespace ui
