// A manual-reset event for waiting on another thread, with a time-out so a hang fails.
#pragma once

#include <windows.h>

class TestEvent {
 public:
  TestEvent() : handle_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~TestEvent() { CloseHandle(handle_); }
  TestEvent(const TestEvent&) = delete;
  TestEvent& operator=(const TestEvent&) = delete;

  void Set() { SetEvent(handle_); }
  void Reset() { ResetEvent(handle_); }
  bool Wait(DWORD timeoutMs = 10000) { return WaitForSingleObject(handle_, timeoutMs) == WAIT_OBJECT_0; }
  bool IsSet() { return Wait(0); }

 private:
  HANDLE handle_;
};
