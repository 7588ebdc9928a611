#include "AIAnimate.h"

#include <gdiplus.h>

#include <algorithm>
#include <cmath>

namespace {

void FillCircle(Gdiplus::Graphics& graphics, int cx, int cy, float r, COLORREF color) {
  Gdiplus::SolidBrush brush(Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color)));
  graphics.FillEllipse(&brush, cx - r, cy - r, 2 * r, 2 * r);
}

}  // namespace

void CAIAnimate::SetInnerColor(COLORREF color) {
  m_clrInner = color;
  Invalidate();
}

void CAIAnimate::SetOuterColor(COLORREF color) {
  m_clrOuter = color;
  Invalidate();
}

void CAIAnimate::OnTimer(UINT_PTR id) {
  if (id != kTimerId) return;
  m_fInnerPhase += m_fPhaseStep;
  m_fOuterPhase += m_fPhaseStep;
  Invalidate();
}

void CAIAnimate::Draw(HDC dc, int width, int height) {
  const int o = std::min(width, height) / 2;
  const int cx = width / 2;
  const int cy = height / 2;
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  FillCircle(graphics, cx, cy, std::fabs(std::cos(m_fOuterPhase)) * 0.24f * o + 0.75f * o, m_clrOuter);
  FillCircle(graphics, cx, cy, std::fabs(std::sin(m_fInnerPhase)) * 0.2f * o + 0.4f * o, m_clrInner);
}
