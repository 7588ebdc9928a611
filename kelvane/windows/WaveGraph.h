// Placeholder until the spectrum display lands: the calls the main dialog makes.
#pragma once

#include "mfc/AfxWnd.h"

class CWaveGraph : public CWnd {
 public:
  void AddSamples(const void*, unsigned long) {}
  void SetBkColor(COLORREF) {}
  void SetBarColor(COLORREF) {}
  void SetBarCount(int) {}
  void SetFrequencyRange(float, float) {}
  void StartTimer() {}
};
