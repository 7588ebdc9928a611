// Two circles pulsing in opposite phase while AI mode is shown.
#pragma once

#include "BufferedStatic.h"
#include "GdiplusSession.h"

class CAIAnimate : public CBufferedStatic {
 public:
  static constexpr UINT_PTR kTimerId = 1;

  void SetInnerColor(COLORREF color);
  void SetOuterColor(COLORREF color);
  void SetPhaseStep(float step) { m_fPhaseStep = step; }
  UINT GetTimerPeriod() const { return m_nTimerPeriod; }
  // Restarts timer 1 with the timer period; stops it.
  void StartTimer() { RestartTimer(kTimerId, m_nTimerPeriod); }
  void StopTimer() { CBufferedStatic::StopTimer(kTimerId); }

 protected:
  void OnTimer(UINT_PTR id) override;
  void Draw(HDC dc, int width, int height) override;

 private:
  GdiplusSession m_gdiplus;
  COLORREF m_clrInner = RGB(0, 255, 0);
  COLORREF m_clrOuter = RGB(0, 255, 0);
  float m_fInnerPhase = 0;
  float m_fOuterPhase = 0;
  UINT m_nTimerPeriod = 80;
  float m_fPhaseStep = 0.12566371f;  // pi / 25
};
