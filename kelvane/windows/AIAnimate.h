// Two circles pulsing in opposite phase while AI mode is shown.
#pragma once

#include "AnimatedStatic.h"

class CAIAnimate : public CAnimatedStatic {
 public:
  CAIAnimate() : CAnimatedStatic(/*timerPeriodMs=*/80) {}

  void SetInnerColor(COLORREF color);
  void SetOuterColor(COLORREF color);
  void SetPhaseStep(float step) { m_fPhaseStep = step; }

 protected:
  void OnTimer(UINT_PTR id) override;
  void Draw(HDC dc, int width, int height) override;

 private:
  COLORREF m_clrInner = RGB(0, 255, 0);
  COLORREF m_clrOuter = RGB(0, 255, 0);
  float m_fInnerPhase = 0;
  float m_fOuterPhase = 0;
  float m_fPhaseStep = 0.12566371f;  // pi / 25
};
