#include "render/Pen_GdiPlus.h"

namespace ui {

GpPen* Pen_GdiPlus::HandleOf(const IPen* pen) {
  const auto* own = dynamic_cast<const Pen_GdiPlus*>(pen);
  return own ? own->GetPen() : nullptr;
}

Pen_GdiPlus::Pen_GdiPlus(DWORD color, int width) : IPen(color) {
  Check(GdipCreatePen1(color, static_cast<REAL>(width), UnitWorld, &pen_));
}

Pen_GdiPlus::~Pen_GdiPlus() {
  if (pen_) GdipDeletePen(pen_);
}

void Pen_GdiPlus::Check(Status status) {
  if (status != Ok) last_status_ = status;
}

IPen* Pen_GdiPlus::Clone() {
  Pen_GdiPlus* copy = new Pen_GdiPlus(color_);
  copy->Check(GdipClonePen(pen_, &copy->pen_));
  return copy;
}

void Pen_GdiPlus::SetWidth(int width) { Check(GdipSetPenWidth(pen_, static_cast<REAL>(width))); }

int Pen_GdiPlus::GetWidth() {
  REAL width = 0;
  Check(GdipGetPenWidth(pen_, &width));
  return static_cast<int>(width);
}

void Pen_GdiPlus::SetColor(DWORD color) {
  color_ = color;
  Check(GdipSetPenColor(pen_, color));
}

void Pen_GdiPlus::SetStartCap(int cap) { Check(GdipSetPenStartCap(pen_, LineCap(cap))); }
void Pen_GdiPlus::SetEndCap(int cap) { Check(GdipSetPenEndCap(pen_, LineCap(cap))); }
void Pen_GdiPlus::SetDashCap(int cap) { Check(GdipSetPenDashCap197819(pen_, DashCap(cap))); }

int Pen_GdiPlus::GetStartCap() {
  LineCap cap = LineCapFlat;
  Check(GdipGetPenStartCap(pen_, &cap));
  return cap;
}

int Pen_GdiPlus::GetEndCap() {
  LineCap cap = LineCapFlat;
  Check(GdipGetPenEndCap(pen_, &cap));
  return cap;
}

int Pen_GdiPlus::GetDashCap() {
  DashCap cap = DashCapFlat;
  Check(GdipGetPenDashCap197819(pen_, &cap));
  return cap;
}

void Pen_GdiPlus::SetLineJoin(int join) { Check(GdipSetPenLineJoin(pen_, LineJoin(join))); }

int Pen_GdiPlus::GetLineJoin() {
  LineJoin join = LineJoinMiter;
  Check(GdipGetPenLineJoin(pen_, &join));
  return join;
}

void Pen_GdiPlus::SetDashStyle(int style) { Check(GdipSetPenDashStyle(pen_, DashStyle(style))); }

int Pen_GdiPlus::GetDashStyle() {
  DashStyle style = DashStyleSolid;
  Check(GdipGetPenDashStyle(pen_, &style));
  return style;
}

}  // namespace ui
