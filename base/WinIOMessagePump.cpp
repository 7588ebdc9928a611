#include "base/WinIOMessagePump.h"

namespace base {

WinIOMessagePump::WinIOMessagePump() {
  HANDLE port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
  if (port) port_ = port;
}

WinIOMessagePump::~WinIOMessagePump() {
  if (port_ != INVALID_HANDLE_VALUE) CloseHandle(port_);
}

void WinIOMessagePump::ScheduleWork() {
  if (!ClaimWakeUp()) return;
  auto* self = reinterpret_cast<LPOVERLAPPED>(this);
  if (!PostQueuedCompletionStatus(port_, 0, reinterpret_cast<ULONG_PTR>(this), self)) ReleaseWakeUp();
}

// One turn: a packet, a due delayed task, a task; idle work and a wait only when none of them
// was there.
void WinIOMessagePump::DoRunLoop() {
  bool more_work_is_plausible = state_->delegate->DoWork();
  for (;;) {
    const bool handled_packet = WaitForIOCompletion(0);
    if (state_->should_quit) break;
    const bool did_delayed_work = state_->delegate->DoDelayedWork(&delayed_work_time_);
    if (state_->should_quit) break;
    if (!more_work_is_plausible && !handled_packet && !did_delayed_work) {
      const bool did_idle_work = state_->delegate->DoIdleWork();
      if (state_->should_quit) break;
      if (!did_idle_work) WaitForIOCompletion(GetCurrentDelayTimeout());
    }
    more_work_is_plausible = state_->delegate->DoWork();
  }
}

bool WinIOMessagePump::WaitForIOCompletion(DWORD timeout) {
  DWORD bytes_transfered = 0;
  ULONG_PTR key = 0;
  OVERLAPPED* overlapped = nullptr;
  DWORD error = ERROR_SUCCESS;
  if (!GetQueuedCompletionStatus(port_, &bytes_transfered, &key, &overlapped, timeout)) {
    if (!overlapped) return false;  // time-out
    error = GetLastError();
    bytes_transfered = 0;
  }
  if (key == reinterpret_cast<ULONG_PTR>(this) && overlapped == reinterpret_cast<OVERLAPPED*>(this)) {
    ReleaseWakeUp();
    return true;
  }
  HandleCompletion(reinterpret_cast<IOContext*>(overlapped), bytes_transfered, error);
  return true;
}

void WinIOMessagePump::HandleCompletion(IOContext* context, DWORD bytes_transfered, DWORD error) {
  if (!context->handler) {
    delete context;
    return;
  }
  io_observers_.ForEach([](IOObserver* observer) { observer->WillProcessIOEvent(); });
  context->handler->OnIOCompleted(context, bytes_transfered, error);
  io_observers_.ForEach([](IOObserver* observer) { observer->DidProcessIOEvent(); });
}

}  // namespace base
