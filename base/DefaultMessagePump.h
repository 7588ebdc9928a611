#pragma once

#include <windows.h>

#include <cstdint>

#include "base/MessagePump.h"

namespace base {

// Waits on an event that posts set, or until the earliest delayed task falls due.
class DefaultMessagePump : public MessagePump {
 public:
  DefaultMessagePump();
  ~DefaultMessagePump() override;

  void Run(Delegate* delegate) override;
  void Quit() override { should_quit_ = true; }
  void ScheduleWork() override { SetEvent(event_); }
  void ScheduleDelayedWork(int64_t delayed_work_time) override { delayed_work_time_ = delayed_work_time; }

 private:
  void WaitForWork();

  HANDLE event_;
  bool should_quit_ = false;
  int64_t delayed_work_time_ = 0;
};

}  // namespace base
