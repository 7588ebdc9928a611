#include "base/WinUIMessagePump.h"

#include "base/Dispatcher.h"

namespace base {
namespace {

const wchar_t kWindowClassName[] = L"CorvellMessagePumpWindow";
constexpr UINT kMsgHaveWork = WM_USER + 1;
constexpr int kMessageFilterCode = 0x5001;
constexpr int64_t kMinimumTimerDelayMs = 10;

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.lpszClassName = kWindowClassName;
  // A second UI loop in the process finds the class already there.
  return RegisterClassExW(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

WinUIMessagePump::WinUIMessagePump() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterWindowClass(instance, &WndProc)) return;
  message_window_ =
      CreateWindowExW(0, kWindowClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (message_window_) SetWindowLongPtrW(message_window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinUIMessagePump::~WinUIMessagePump() {
  if (message_window_) DestroyWindow(message_window_);
  UnregisterClassW(kWindowClassName, GetModuleHandleW(nullptr));
}

void WinUIMessagePump::ScheduleWork() {
  if (!message_window_ || !ClaimWakeUp()) return;
  // A refused post (full queue) must not leave the flag set, or no later post would wake us.
  if (!PostWakeUpMessage()) ReleaseWakeUp();
}

bool WinUIMessagePump::PostWakeUpMessage() {
  return PostMessageW(message_window_, kMsgHaveWork, reinterpret_cast<WPARAM>(this), 0) != FALSE;
}

void WinUIMessagePump::ScheduleDelayedWork(int64_t delayed_work_time) {
  delayed_work_time_ = delayed_work_time;
  int64_t delay = GetCurrentDelay();
  if (delay < kMinimumTimerDelayMs) delay = kMinimumTimerDelayMs;
  if (delay > 0xFFFFFFFE) delay = 0xFFFFFFFE;
  timer_armed_ = SetTimer(message_window_, reinterpret_cast<UINT_PTR>(this), static_cast<UINT>(delay), nullptr) != 0;
}

void WinUIMessagePump::KillDelayedWorkTimer() {
  if (!timer_armed_) return;
  KillTimer(message_window_, reinterpret_cast<UINT_PTR>(this));
  timer_armed_ = false;
}

LRESULT CALLBACK WinUIMessagePump::WndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Only our own messages carry the pump that owns this window.
  auto* pump = reinterpret_cast<WinUIMessagePump*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (pump && wparam == reinterpret_cast<WPARAM>(pump)) {
    if (message == kMsgHaveWork) pump->HandleWorkMessage();
    if (message == WM_TIMER) pump->HandleTimerMessage();
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

// Reached through a foreign (modal) message loop, or the wake-up found while not running.
void WinUIMessagePump::HandleWorkMessage() {
  if (!state_) {
    ReleaseWakeUp();
    return;
  }
  ProcessPumpReplacementMessage();
  if (DoWork()) ScheduleWork();
}

bool WinUIMessagePump::DoWork() {
  work_may_be_queued_ = state_->delegate->DoWork();
  return work_may_be_queued_;
}

// Once a task has run, more may be queued with no wake-up on its way (a post into a non-empty
// queue sends none). A window procedure that enters a modal loop runs tasks only on wake-ups,
// so one is made outstanding before a window procedure runs from this pump.
void WinUIMessagePump::KeepWakeUpForWindowProcedure() {
  if (work_may_be_queued_) ScheduleWork();
}

void WinUIMessagePump::HandleTimerMessage() {
  KillDelayedWorkTimer();
  if (!state_) return;
  state_->delegate->DoDelayedWork(&delayed_work_time_);
  if (delayed_work_time_ != 0) ScheduleDelayedWork(delayed_work_time_);
}

// One turn: a Windows message, a task, a due delayed task; idle work and a wait only when none
// of them was there.
void WinUIMessagePump::DoRunLoop() {
  for (;;) {
    bool more_work_is_plausible = ProcessNextWindowsMessage();
    if (state_->should_quit) break;
    more_work_is_plausible |= DoWork();
    if (state_->should_quit) break;
    more_work_is_plausible |= state_->delegate->DoDelayedWork(&delayed_work_time_);
    // No delayed work remains: drop an armed timer.
    if (more_work_is_plausible && delayed_work_time_ == 0) KillDelayedWorkTimer();
    if (state_->should_quit) break;
    if (more_work_is_plausible) continue;

    more_work_is_plausible = state_->delegate->DoIdleWork();
    if (state_->should_quit) break;
    if (!more_work_is_plausible) WaitForWork();
  }
}

bool WinUIMessagePump::ProcessNextWindowsMessage() {
  const DWORD queue_status = GetQueueStatus(QS_SENDMESSAGE);
  // The peek hands sent messages to their window procedures.
  if (HIWORD(queue_status) & QS_SENDMESSAGE) KeepWakeUpForWindowProcedure();
  MSG message;
  if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return ProcessMessageHelper(message);
  // Sent messages were waiting: the peek has handled them, and more may follow.
  return (HIWORD(queue_status) & QS_SENDMESSAGE) != 0;
}

bool WinUIMessagePump::ProcessMessageHelper(const MSG& message) {
  if (message.message == WM_QUIT) {
    // Ends this run; re-posted so that every enclosing run ends as well.
    state_->should_quit = true;
    PostQuitMessage(static_cast<int>(message.wParam));
    return false;
  }
  if (message.message == kMsgHaveWork && message.hwnd == message_window_) return ProcessPumpReplacementMessage();
  if (CallMsgFilterW(const_cast<MSG*>(&message), kMessageFilterCode)) return true;

  KeepWakeUpForWindowProcedure();
  WillProcessMessage(message);
  if (state_->dispatcher) {
    if (!state_->dispatcher->Dispatch(message)) state_->should_quit = true;
  } else {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DidProcessMessage(message);
  return true;
}

// The wake-up has been taken off the queue; handle one real message in its place so that
// a stream of wake-ups cannot starve the window messages.
bool WinUIMessagePump::ProcessPumpReplacementMessage() {
  MSG message;
  const bool have_message = PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
  ReleaseWakeUp();
  if (!have_message) return false;
  ScheduleWork();
  return ProcessMessageHelper(message);
}

void WinUIMessagePump::WaitForWork() {
  const DWORD result =
      MsgWaitForMultipleObjectsEx(0, nullptr, GetCurrentDelayTimeout(), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (result != WAIT_OBJECT_0) return;
  // Mouse input of an attached thread's window is reported but cannot be peeked here; wait for
  // new input instead of spinning.
  MSG message;
  if ((HIWORD(GetQueueStatus(QS_MOUSE)) & QS_MOUSE) &&
      !PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_XBUTTONDBLCLK, PM_NOREMOVE)) {
    WaitMessage();
  }
}

void WinUIMessagePump::WillProcessMessage(const MSG& message) {
  ui_observers_.ForEach([&](UIObserver* observer) { observer->WillProcessMessage(message); });
}

void WinUIMessagePump::DidProcessMessage(const MSG& message) {
  ui_observers_.ForEach([&](UIObserver* observer) { observer->DidProcessMessage(message); });
}

}  // namespace base
