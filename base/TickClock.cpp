#include "base/TickClock.h"

#include <mmsystem.h>

namespace base {

TickClock::TickClock(MillisecondSource source) : source_(std::move(source)) {}

int64_t TickClock::NowMicroseconds() {
  AutoLock hold(lock_);
  const uint32_t now = source_();
  if (now < last_) rollover_ += int64_t{1} << 32;
  last_ = now;
  return (rollover_ + now) * 1000;
}

void TickClock::SetSource(MillisecondSource source) {
  AutoLock hold(lock_);
  source_ = std::move(source);
  last_ = 0;
  rollover_ = 0;
}

TickClock& LoopClock() {
  static TickClock clock([] { return static_cast<uint32_t>(timeGetTime()); });
  return clock;
}

}  // namespace base
