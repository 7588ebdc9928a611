#pragma once

#include <mmsystem.h>

#include <atomic>
#include <cstdint>

#include "base/TickClock.h"

// Drives the loop clock by hand for the scope's lifetime.
class FakeClock {
 public:
  explicit FakeClock(uint32_t start_ms = 1000) : now_ms_(start_ms) {
    base::LoopClock().SetSource([this] { return now_ms_.load(); });
  }
  ~FakeClock() {
    base::LoopClock().SetSource([] { return static_cast<uint32_t>(timeGetTime()); });
  }

  void Advance(uint32_t ms) { now_ms_ += ms; }

 private:
  std::atomic<uint32_t> now_ms_;
};
