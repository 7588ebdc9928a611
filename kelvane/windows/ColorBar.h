// Placeholder until the status windows land: the calls the main dialog makes.
#pragma once

#include "mfc/AfxWnd.h"

class CColorBar : public CWnd {
 public:
  static constexpr UINT_PTR kTimerId = 1;
  UINT TimerPeriod() const { return 75; }
  void ResetStep() {}
  void SetColors(COLORREF, COLORREF, COLORREF) {}
};
