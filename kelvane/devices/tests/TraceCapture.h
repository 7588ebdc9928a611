// Stands in for the trace console: collects the lines TraceMessage posts to this thread.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "PostedObjects.h"
#include "TraceMessage.h"

class TraceCapture {
 public:
  TraceCapture() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TraceCapture::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DevicesTraceCapture";
    RegisterClassW(&wc);  // fails harmlessly when a previous capture registered it
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetTraceConsoleWindow(window_);
  }
  ~TraceCapture() {
    SetTraceConsoleWindow(nullptr);
    Drain();
    DestroyWindow(window_);
    PostedObjects::Discard(window_);  // lines posted from other threads after the drain
  }
  TraceCapture(const TraceCapture&) = delete;
  TraceCapture& operator=(const TraceCapture&) = delete;

  // Every line posted so far, as (level, text).
  const std::vector<std::pair<int, std::wstring>>& Lines() {
    Drain();
    return lines_;
  }

  bool Has(int level, const std::wstring& text) {
    for (const auto& line : Lines()) {
      if (line.first == level && line.second == text) return true;
    }
    return false;
  }

  // All lines as UTF-8, one per line, for failure messages.
  std::string Text() {
    std::string text;
    for (const auto& line : Lines()) {
      const int size = WideCharToMultiByte(CP_UTF8, 0, line.second.c_str(), -1, nullptr, 0, nullptr, nullptr);
      std::string utf8(size > 0 ? size - 1 : 0, '\0');
      WideCharToMultiByte(CP_UTF8, 0, line.second.c_str(), -1, utf8.data(), size, nullptr, nullptr);
      text += std::to_string(line.first) + " " + utf8 + "\n";
    }
    return text;
  }

  int Count(const std::wstring& text) {
    int count = 0;
    for (const auto& line : Lines()) count += line.second == text ? 1 : 0;
    return count;
  }

 private:
  void Drain() {
    MSG msg;
    while (PeekMessageW(&msg, window_, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg != WM_TRACE_LINE) return DefWindowProcW(hwnd, msg, wparam, lparam);
    auto* self = reinterpret_cast<TraceCapture*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const TraceLine text = PostedObjects::Take<wchar_t, TraceLineDeleter>(hwnd, msg, lparam);
    if (self != nullptr && text) self->lines_.emplace_back(static_cast<int>(wparam), text.get());
    return 0;
  }

  HWND window_;
  std::vector<std::pair<int, std::wstring>> lines_;
};
