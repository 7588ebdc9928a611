#pragma once

#include <cstdint>
#include <functional>

#include "base/Lock.h"

namespace base {

// Microseconds from a 32-bit millisecond counter, carried across its wrap-around.
class TickClock {
 public:
  using MillisecondSource = std::function<uint32_t()>;

  explicit TickClock(MillisecondSource source);

  int64_t NowMicroseconds();
  // Replaces the counter and starts counting afresh.
  void SetSource(MillisecondSource source);

 private:
  Lock lock_;
  MillisecondSource source_;
  uint32_t last_ = 0;
  int64_t rollover_ = 0;
};

// The process-wide clock of every message loop, over timeGetTime.
TickClock& LoopClock();

}  // namespace base
