// Placeholder until the status windows land: the calls the main dialog makes.
#pragma once

#include "mfc/AfxWnd.h"

class CAIAnimate : public CWnd {
 public:
  static constexpr UINT_PTR kTimerId = 1;
  UINT TimerPeriod() const { return 80; }
  void SetPhaseStep(float) {}
  void SetColors(COLORREF, COLORREF, COLORREF) {}
};
