#pragma once

#include <cstdint>

namespace base {

// The waiting half of a message loop: it asks its delegate for work and sleeps when
// there is none. Run times are microseconds of the loop clock.
class MessagePump {
 public:
  class Delegate {
   public:
    virtual ~Delegate() = default;
    // Each runs at most one task and returns true when it ran one.
    virtual bool DoWork() = 0;
    virtual bool DoDelayedWork(int64_t* next_delayed_work_time) = 0;
    virtual bool DoIdleWork() = 0;
  };

  virtual ~MessagePump() = default;
  virtual void Run(Delegate* delegate) = 0;
  virtual void Quit() = 0;
  // Callable from any thread.
  virtual void ScheduleWork() = 0;
  // Loop thread only.
  virtual void ScheduleDelayedWork(int64_t delayed_work_time) = 0;
};

}  // namespace base
