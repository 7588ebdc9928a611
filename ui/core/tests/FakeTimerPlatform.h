// A timer platform whose clock the test moves (microsecond ticks) and whose periodic timer
// only records its period.
#pragma once

#include <vector>

#include "timing/TimerManager.h"

namespace ui {

class FakeTimerPlatform : public TimerPlatform {
 public:
  int64_t Frequency() override { return 1000000; }
  int64_t Now() override { return now; }
  UINT StartPeriodic(UINT period_ms, HWND) override {
    periods.push_back(period_ms);
    running = true;
    return ++last_id;
  }
  void Stop(UINT) override { running = false; }

  void AdvanceMs(double ms) { now += static_cast<int64_t>(ms * 1000); }

  int64_t now = 5000000;
  std::vector<UINT> periods;
  bool running = false;
  UINT last_id = 0;
};

}  // namespace ui
