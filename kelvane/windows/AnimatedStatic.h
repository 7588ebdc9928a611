// A buffered static that GDI+ draws into and that timer 1 steps at a fixed period.
#pragma once

#include "BufferedStatic.h"
#include "GdiplusSession.h"

class CAnimatedStatic : public CBufferedStatic {
 public:
  static constexpr UINT_PTR kTimerId = 1;

  UINT GetTimerPeriod() const { return m_nTimerPeriod; }
  // Restarts timer 1 with the timer period; stops it.
  void StartTimer() { RestartTimer(kTimerId, m_nTimerPeriod); }
  void StopTimer() { CBufferedStatic::StopTimer(kTimerId); }

 protected:
  explicit CAnimatedStatic(UINT timerPeriodMs) : m_nTimerPeriod(timerPeriodMs) {}

 private:
  GdiplusSession m_gdiplus;
  UINT m_nTimerPeriod;
};
