// A timer platform whose clock the test moves (microsecond ticks) and whose periodic timer
// only records its period; periods above `accepted_max` are refused, as Wine refuses periods
// above the device's maximum.
#pragma once

#include <vector>

#include "timing/TimerManager.h"

namespace ui {

class FakeTimerPlatform : public TimerPlatform {
 public:
  int64_t Frequency() override { return 1000000; }
  int64_t Now() override { return now; }
  UINT MaxPeriod() override { return max_period; }
  UINT StartPeriodic(UINT period_ms, HWND) override {
    if (period_ms > accepted_max) return 0;
    periods.push_back(period_ms);
    running = true;
    return ++last_id;
  }
  void Stop(UINT) override { running = false; }

  void AdvanceMs(double ms) { now += static_cast<int64_t>(ms * 1000); }

  int64_t now = 5000000;
  UINT max_period = 65535;
  UINT accepted_max = 65535;
  std::vector<UINT> periods;
  bool running = false;
  UINT last_id = 0;
};

}  // namespace ui
