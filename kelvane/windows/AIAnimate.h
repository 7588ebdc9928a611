// Placeholder until the status windows land: the calls the main dialog makes.
#pragma once

#include "mfc/AfxWnd.h"

class CAIAnimate : public CWnd {
 public:
  void SetBkColor(COLORREF) {}
  void SetInnerColor(COLORREF) {}
  void SetOuterColor(COLORREF) {}
  void SetPhaseStep(float) {}
  UINT GetTimerPeriod() const { return 80; }
  void StartTimer() {}
  void StopTimer() {}
};
