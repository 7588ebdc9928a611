#pragma once

#include <windows.h>

// A manual-reset event for tests: waits fail after a time-out instead of hanging.
class TestEvent {
 public:
  TestEvent() : handle_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~TestEvent() { CloseHandle(handle_); }
  TestEvent(const TestEvent&) = delete;
  TestEvent& operator=(const TestEvent&) = delete;

  void Signal() { SetEvent(handle_); }
  bool Wait(DWORD timeout_ms = 10000) { return WaitForSingleObject(handle_, timeout_ms) == WAIT_OBJECT_0; }

 private:
  HANDLE handle_;
};
