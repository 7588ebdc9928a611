// Placeholder until the status windows land: the calls the main dialog makes.
#pragma once

#include "mfc/AfxWnd.h"

class CColorBar : public CWnd {
 public:
  void SetBkColor(COLORREF) {}
  void SetColors(COLORREF, COLORREF) {}
  void SetStep(unsigned) {}
  void StartTimer() {}
  void StopTimer() {}
};
