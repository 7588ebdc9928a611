// The recognition bar: a two-colour gradient line whose meeting point moves back and forth
// while recognition runs.
#pragma once

#include "AnimatedStatic.h"

// Where the two gradients meet on a bar of the width at the step.
int ColorBarSplit(unsigned step, int width);

class CColorBar : public CAnimatedStatic {
 public:
  static constexpr unsigned kStepCycle = 314;

  CColorBar() : CAnimatedStatic(/*timerPeriodMs=*/75) {}

  void SetColors(COLORREF a, COLORREF b);
  void SetStep(unsigned step) { m_nStep = step % kStepCycle; }
  unsigned GetStep() const { return m_nStep; }

 protected:
  void OnTimer(UINT_PTR id) override;
  void Draw(HDC dc, int width, int height) override;

 private:
  COLORREF m_clrA = RGB(42, 204, 112);
  COLORREF m_clrB = RGB(51, 152, 219);
  unsigned m_nStep = 0;
};
