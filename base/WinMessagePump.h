#pragma once

#include <atomic>
#include <cstdint>

#include "base/MessagePump.h"

namespace base {

class Dispatcher;

// Common part of the Windows pumps: nested runs, the outstanding wake-up flag and the
// delay until the earliest delayed task.
class WinMessagePump : public MessagePump {
 public:
  void Run(Delegate* delegate) override { RunWithDispatcher(delegate, nullptr); }
  void RunWithDispatcher(Delegate* delegate, Dispatcher* dispatcher);
  void Quit() override;

 protected:
  struct RunState {
    int run_depth;
    bool should_quit;
    Delegate* delegate;
    Dispatcher* dispatcher;
  };

  virtual void DoRunLoop() = 0;

  // Milliseconds until the delayed work time; -1 when there is none.
  int64_t GetCurrentDelay() const;
  // The delay as a Win32 time-out: INFINITE for none, capped below INFINITE otherwise.
  unsigned long GetCurrentDelayTimeout() const;

  // Marks a wake-up as outstanding; true when none was before.
  bool ClaimWakeUp() { return have_work_.exchange(1) == 0; }
  void ReleaseWakeUp() { have_work_.exchange(0); }

  int64_t delayed_work_time_ = 0;
  RunState* state_ = nullptr;

 private:
  std::atomic<long> have_work_{0};
};

}  // namespace base
