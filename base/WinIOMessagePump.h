#pragma once

#include <windows.h>

#include "base/ObserverList.h"
#include "base/WinMessagePump.h"

namespace base {

// Waits on an IO completion port; posts wake it with a packet of their own.
class WinIOMessagePump : public WinMessagePump {
 public:
  class IOHandler;

  // The OVERLAPPED of an operation comes first, followed by the handler of its completion.
  struct IOContext {
    OVERLAPPED overlapped;
    IOHandler* handler;
  };

  class IOHandler {
   public:
    virtual ~IOHandler() = default;
    virtual void OnIOCompleted(IOContext* context, DWORD bytes_transfered, DWORD error) = 0;
  };

  class IOObserver {
   public:
    virtual ~IOObserver() = default;
    virtual void WillProcessIOEvent() = 0;
    virtual void DidProcessIOEvent() = 0;
  };

  WinIOMessagePump();
  ~WinIOMessagePump() override;

  void ScheduleWork() override;
  void ScheduleDelayedWork(int64_t delayed_work_time) override { delayed_work_time_ = delayed_work_time; }

  HANDLE completion_port() const { return port_; }

  void AddIOObserver(IOObserver* observer) { io_observers_.AddObserver(observer); }
  void RemoveIOObserver(IOObserver* observer) { io_observers_.RemoveObserver(observer); }

 private:
  void DoRunLoop() override;
  // Takes one packet, waiting at most the time-out, and handles it; false after the time-out.
  bool WaitForIOCompletion(DWORD timeout);
  void HandleCompletion(IOContext* context, DWORD bytes_transfered, DWORD error);

  HANDLE port_ = INVALID_HANDLE_VALUE;
  ObserverList<IOObserver> io_observers_;
};

}  // namespace base
