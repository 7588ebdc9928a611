// Placeholder until the spectrum display lands: the calls the main dialog makes.
#pragma once

#include "mfc/AfxWnd.h"

class CWaveGraph : public CWnd {
 public:
  static constexpr UINT_PTR kTimerId = 1001;
  void AddSamples(const void*, unsigned long) {}
  void SetBackgroundColor(COLORREF) {}
  void SetBarColor(COLORREF) {}
  void SetBarCount(int) {}
  void SetFrequencyRange(float, float) {}
  int UpdatesPerSecond() const { return 32; }
};
