#include "ColorBar.h"

#include <gdiplus.h>

#include <cmath>

namespace {

Gdiplus::Color Opaque(COLORREF color) {
  return Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color));
}

// A horizontal gradient over the rectangle; an empty one has no gradient to draw.
void FillGradient(Gdiplus::Graphics& graphics, const Gdiplus::Rect& rect, COLORREF from,
                  COLORREF to) {
  if (rect.Width <= 0 || rect.Height <= 0) return;
  Gdiplus::LinearGradientBrush brush(rect, Opaque(from), Opaque(to),
                                     Gdiplus::LinearGradientModeHorizontal);
  brush.SetWrapMode(Gdiplus::WrapModeTile);
  graphics.FillRectangle(&brush, rect);
}

}  // namespace

int ColorBarSplit(unsigned step, int width) {
  return static_cast<int>(std::fabs(std::sin(step / 80.0 + 0.5235987755)) * width);
}

void CColorBar::SetColors(COLORREF a, COLORREF b) {
  m_clrA = a;
  m_clrB = b;
  Invalidate();
}

void CColorBar::OnTimer(UINT_PTR id) {
  if (id != kTimerId) return;
  m_nStep = (m_nStep + 1) % kStepCycle;
  Invalidate();
}

void CColorBar::Draw(HDC dc, int width, int height) {
  const int split = ColorBarSplit(m_nStep, width);
  Gdiplus::Graphics graphics(dc);
  FillGradient(graphics, Gdiplus::Rect(0, 0, split, height), m_clrB, m_clrA);
  FillGradient(graphics, Gdiplus::Rect(split, 0, width - split, height), m_clrA, m_clrB);
}
