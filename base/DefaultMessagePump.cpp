#include "base/DefaultMessagePump.h"

#include <cmath>

#include "base/TickClock.h"

namespace base {

DefaultMessagePump::DefaultMessagePump() : event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

DefaultMessagePump::~DefaultMessagePump() { CloseHandle(event_); }

void DefaultMessagePump::Run(Delegate* delegate) {
  bool did_work = delegate->DoWork();
  while (!should_quit_) {
    const bool did_delayed_work = delegate->DoDelayedWork(&delayed_work_time_);
    if (should_quit_) break;
    if (!did_work && !did_delayed_work) {
      const bool did_idle_work = delegate->DoIdleWork();
      if (should_quit_) break;
      if (!did_idle_work) WaitForWork();
    }
    did_work = delegate->DoWork();
  }
  should_quit_ = false;
}

// Either the poster sees the loop waiting and sets the event, or the loop sees the
// scheduled work and does not wait.
void DefaultMessagePump::ScheduleWork() {
  work_scheduled_ = true;
  if (waiting_) SetEvent(event_);
}

void DefaultMessagePump::WaitForEvent(DWORD timeout_ms) {
  waiting_ = true;
  if (!work_scheduled_.exchange(false)) WaitForSingleObject(event_, timeout_ms);
  waiting_ = false;
}

void DefaultMessagePump::WaitForWork() {
  if (delayed_work_time_ == 0) {
    WaitForEvent(INFINITE);
    return;
  }
  const int64_t remaining_us = delayed_work_time_ - LoopClock().NowMicroseconds();
  if (remaining_us < 1) {
    delayed_work_time_ = 0;
    return;
  }
  const double delay_ms = std::ceil(static_cast<double>(remaining_us) / 1000.0);
  WaitForEvent(delay_ms > 0xFFFFFFFE ? 0xFFFFFFFE : static_cast<DWORD>(delay_ms));
}

}  // namespace base
