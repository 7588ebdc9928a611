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

void WinIOMessagePump::DoRunLoop() {
  bool more_work_is_plausible = state_->delegate->DoWork();
  bool poll_for_io = true;
  for (;;) {
    // Packets are polled for between tasks. After a wake-up that found nothing more to do, the
    // wait of this turn takes them just as well, and the poll would only cost a call.
    const bool handled_io = poll_for_io && WaitForIOCompletion(0) != Packet::kNone;
    if (state_->should_quit) break;
    const bool did_delayed_work = state_->delegate->DoDelayedWork(&delayed_work_time_);
    if (state_->should_quit) break;
    bool did_idle_work = false;
    Packet waited_for = Packet::kNone;
    if (!more_work_is_plausible && !handled_io && !did_delayed_work) {
      did_idle_work = state_->delegate->DoIdleWork();
      if (state_->should_quit) break;
      if (!did_idle_work) waited_for = WaitForIOCompletion(GetCurrentDelayTimeout());
    }
    more_work_is_plausible = state_->delegate->DoWork();
    poll_for_io = more_work_is_plausible || did_delayed_work || did_idle_work || waited_for == Packet::kIO;
  }
}

WinIOMessagePump::Packet WinIOMessagePump::WaitForIOCompletion(DWORD timeout) {
  DWORD bytes_transfered = 0;
  ULONG_PTR key = 0;
  OVERLAPPED* overlapped = nullptr;
  DWORD error = ERROR_SUCCESS;
  if (!GetQueuedCompletionStatus(port_, &bytes_transfered, &key, &overlapped, timeout)) {
    if (!overlapped) return Packet::kNone;  // time-out
    error = GetLastError();
    bytes_transfered = 0;
  }
  if (key == reinterpret_cast<ULONG_PTR>(this) && overlapped == reinterpret_cast<OVERLAPPED*>(this)) {
    ReleaseWakeUp();
    return Packet::kWakeUp;
  }
  HandleCompletion(reinterpret_cast<IOContext*>(overlapped), bytes_transfered, error);
  return Packet::kIO;
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
