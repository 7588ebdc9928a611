// The recognition bar: a two-colour gradient line whose meeting point moves back and forth
// while recognition runs.
#pragma once

#include "BufferedStatic.h"
#include "GdiplusSession.h"

// Where the two gradients meet on a bar of the width at the step.
int ColorBarSplit(unsigned step, int width);

class CColorBar : public CBufferedStatic {
 public:
  static constexpr UINT_PTR kTimerId = 1;
  static constexpr unsigned kStepCycle = 314;

  void SetColors(COLORREF a, COLORREF b);
  void SetStep(unsigned step) { m_nStep = step % kStepCycle; }
  unsigned GetStep() const { return m_nStep; }
  UINT GetTimerPeriod() const { return m_nTimerPeriod; }
  // Restarts timer 1 with the timer period; stops it.
  void StartTimer() { RestartTimer(kTimerId, m_nTimerPeriod); }
  void StopTimer() { CBufferedStatic::StopTimer(kTimerId); }

 protected:
  void OnTimer(UINT_PTR id) override;
  void Draw(HDC dc, int width, int height) override;

 private:
  GdiplusSession m_gdiplus;
  COLORREF m_clrA = RGB(42, 204, 112);
  COLORREF m_clrB = RGB(51, 152, 219);
  unsigned m_nStep = 0;
  UINT m_nTimerPeriod = 75;
};
