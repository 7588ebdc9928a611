// Closes the modal boxes a test's process (or the program it started) shows, so a headless
// run never hangs on one; it keeps the texts of the boxes it closed.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class DialogWatchdog {
 public:
  // Watches the top-level dialogs of the process; the main panel is left alone.
  explicit DialogWatchdog(DWORD processId = GetCurrentProcessId())
      : processId_(processId), thread_([this] { Run(); }) {}
  ~DialogWatchdog() {
    stop_ = true;
    thread_.join();
  }
  DialogWatchdog(const DialogWatchdog&) = delete;
  DialogWatchdog& operator=(const DialogWatchdog&) = delete;

  void Watch(DWORD processId) { processId_ = processId; }

  // The texts of the boxes closed so far, all their static texts joined by "|".
  std::vector<std::wstring> Closed() {
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_;
  }
  bool HasClosed(const std::wstring& text) {
    for (const std::wstring& box : Closed()) {
      if (box.find(text) != std::wstring::npos) return true;
    }
    return false;
  }

 private:
  void Run() {
    while (!stop_) {
      EnumWindows(&DialogWatchdog::Visit, reinterpret_cast<LPARAM>(this));
      Sleep(100);
    }
  }

  static BOOL CALLBACK Visit(HWND window, LPARAM self) {
    reinterpret_cast<DialogWatchdog*>(self)->CloseIfStray(window);
    return TRUE;
  }

  void CloseIfStray(HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != processId_ || !IsWindowVisible(window)) return;
    // Texts are read without messages: the window's thread may be waiting for this one.
    wchar_t className[32] = L"", title[64] = L"";
    GetClassNameW(window, className, 32);
    InternalGetWindowText(window, title, 64);
    if (std::wstring(className) != L"#32770" || std::wstring(title) == L"Kelvane_MainWnd") return;
    bool seen;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      seen = handled_ == window;
      handled_ = window;
    }
    if (!seen) {
      std::wstring texts;
      EnumChildWindows(window, &DialogWatchdog::CollectText, reinterpret_cast<LPARAM>(&texts));
      std::lock_guard<std::mutex> lock(mutex_);
      closed_.push_back(texts);
    }
    // Again on every round until it is gone.
    PostMessageW(window, WM_CLOSE, 0, 0);
  }

  static BOOL CALLBACK CollectText(HWND child, LPARAM texts) {
    wchar_t text[512] = L"";
    InternalGetWindowText(child, text, 512);
    auto* joined = reinterpret_cast<std::wstring*>(texts);
    *joined += text;
    *joined += L"|";
    return TRUE;
  }

  std::atomic<DWORD> processId_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  HWND handled_ = nullptr;
  std::vector<std::wstring> closed_;
  std::thread thread_;
};
