#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "base/MessagePump.h"

namespace base {

// Waits on an event that posts set, or until the earliest delayed task falls due. A post
// sets the event only while the loop waits or is about to, so a busy loop is not woken.
class DefaultMessagePump : public MessagePump {
 public:
  DefaultMessagePump();
  ~DefaultMessagePump() override;

  void Run(Delegate* delegate) override;
  void Quit() override { should_quit_ = true; }
  void ScheduleWork() override;
  void ScheduleDelayedWork(int64_t delayed_work_time) override { delayed_work_time_ = delayed_work_time; }

 private:
  void WaitForWork();
  void WaitForEvent(DWORD timeout_ms);

  HANDLE event_;
  std::atomic<bool> work_scheduled_{false};
  std::atomic<bool> waiting_{false};
  bool should_quit_ = false;
  int64_t delayed_work_time_ = 0;
};

}  // namespace base
