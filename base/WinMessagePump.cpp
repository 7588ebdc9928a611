#include "base/WinMessagePump.h"

#include <windows.h>

#include <cmath>

#include "base/TickClock.h"

namespace base {

void WinMessagePump::RunWithDispatcher(Delegate* delegate, Dispatcher* dispatcher) {
  RunState state{state_ ? state_->run_depth + 1 : 1, false, delegate, dispatcher};
  RunState* outer = state_;
  state_ = &state;
  DoRunLoop();
  state_ = outer;
}

void WinMessagePump::Quit() {
  if (state_) state_->should_quit = true;
}

int64_t WinMessagePump::GetCurrentDelay() const {
  if (delayed_work_time_ == 0) return -1;
  const double remaining_us = static_cast<double>(delayed_work_time_ - LoopClock().NowMicroseconds());
  const int64_t delay_ms = static_cast<int64_t>(std::ceil(remaining_us / 1000.0));
  return delay_ms < 0 ? 0 : delay_ms;
}

unsigned long WinMessagePump::GetCurrentDelayTimeout() const {
  const int64_t delay = GetCurrentDelay();
  if (delay < 0) return INFINITE;
  return delay > 0xFFFFFFFE ? 0xFFFFFFFE : static_cast<unsigned long>(delay);
}

}  // namespace base
