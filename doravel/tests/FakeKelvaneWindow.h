// A top-level window titled like Kelvane's main panel, on its own thread, counting the
// settings-changed notices it receives; it pumps its messages unless told to hang.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

#include "TestEvent.h"
#include "settings/KelvaneNotice.h"

inline std::atomic<int> g_notices{0};

inline LRESULT CALLBACK FakeKelvaneProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kSettingsChangedMessage) {
    ++g_notices;
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

class FakeKelvane {
 public:
  explicit FakeKelvane(bool hung) {
    thread_ = std::thread([this, hung] {
      WNDCLASSW window_class{};
      window_class.lpfnWndProc = &FakeKelvaneProc;
      window_class.hInstance = GetModuleHandleW(nullptr);
      window_class.lpszClassName = L"FakeKelvaneWindow";
      RegisterClassW(&window_class);
      window_ = CreateWindowExW(0, L"FakeKelvaneWindow", L"Kelvane_MainWnd", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
      thread_id_ = GetCurrentThreadId();
      created_.Set();
      if (hung) {
        release_.Wait(20000);
      } else {
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
      }
      DestroyWindow(window_);
    });
    created_.Wait(10000);
  }
  ~FakeKelvane() {
    release_.Set();
    PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }

 private:
  HWND window_ = nullptr;
  DWORD thread_id_ = 0;
  TestEvent created_;
  TestEvent release_;
  std::thread thread_;
};
