#pragma once

#include <windows.h>

#include "base/ObserverList.h"
#include "base/WinMessagePump.h"

namespace base {

// Runs tasks between the thread's Windows messages. Wake-ups and delayed work arrive as
// messages to a message-only window, so tasks keep running inside modal Windows loops.
class WinUIMessagePump : public WinMessagePump {
 public:
  class UIObserver {
   public:
    virtual ~UIObserver() = default;
    virtual void WillProcessMessage(const MSG& message) = 0;
    virtual void DidProcessMessage(const MSG& message) = 0;
  };

  WinUIMessagePump();
  ~WinUIMessagePump() override;

  void ScheduleWork() override;
  void ScheduleDelayedWork(int64_t delayed_work_time) override;

  void AddUIObserver(UIObserver* observer) { ui_observers_.AddObserver(observer); }
  void RemoveUIObserver(UIObserver* observer) { ui_observers_.RemoveObserver(observer); }

 protected:
  // Posts the wake-up message; false when the queue refused it.
  virtual bool PostWakeUpMessage();

 private:
  static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  void DoRunLoop() override;
  void HandleWorkMessage();
  // The delegate's DoWork; notes whether tasks may still be queued.
  bool DoWork();
  void KeepWakeUpForWindowProcedure();
  void HandleTimerMessage();
  bool ProcessNextWindowsMessage();
  bool ProcessMessageHelper(const MSG& message);
  bool ProcessPumpReplacementMessage();
  void WaitForWork();
  void KillDelayedWorkTimer();
  void WillProcessMessage(const MSG& message);
  void DidProcessMessage(const MSG& message);

  HWND message_window_ = nullptr;
  bool timer_armed_ = false;
  bool work_may_be_queued_ = false;
  ObserverList<UIObserver> ui_observers_;
};

}  // namespace base
