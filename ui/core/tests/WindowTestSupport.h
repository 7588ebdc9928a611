// Native windows for tests under Wine: a window class over ui::Window, a message pump with
// a deadline, skins built into such windows, the process's memory and its peak commit, and real
// mouse input through xdotool.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "builder/WindowBuilder.h"
#include "layout/Box.h"
#include "window/Window.h"

namespace ui {

// Runs the thread's messages until `done` or `ms` milliseconds pass; returns `done()`.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 3000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

inline void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

// A plain native window over ui::Window; records its final message.
class NativeTestWindow : public Window {
 public:
  std::wstring GetWindowClassName() const override { return L"OrvaneTestWindow"; }
  UINT GetClassStyle() const override { return CS_DBLCLKS; }
  HWND CreateAt(const RECT& rect, bool layered, DWORD style = WS_POPUP) {
    HWND hwnd = Create(nullptr, L"test", style, 0, layered, rect);
    if (hwnd) Init(hwnd);
    return hwnd;
  }
  void OnFinalMessage(HWND hwnd) override {
    Window::OnFinalMessage(hwnd);
    destroyed = true;
  }
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_CLOSE) close_code = static_cast<int>(wparam);
    const bool was_painting = painting;
    painting = was_painting || message == WM_PAINT || message == kLayeredPaintMessage;
    const LRESULT result = Window::HandleMessage(message, wparam, lparam);
    painting = was_painting;
    return result;
  }
  void OnFirstVisibleFrame() override {
    first_frame_alphas.push_back(GetWindowAlpha());
    first_frame_in_paint = painting;
  }
  bool destroyed = false;
  int close_code = -1;
  std::vector<int> first_frame_alphas;  // the window's alpha at each first-frame call
  bool painting = false;
  bool first_frame_in_paint = false;  // the first frame went out within a paint
};

// A new native window at 50,50 (400 x 300) holding the skin `<Window>classes<VBox>body</VBox>
// </Window>`, shown; null when it could not be made or built.
inline NativeTestWindow* ShowSkinWindow(const std::wstring& classes, const std::wstring& body) {
  auto* window = new NativeTestWindow();
  if (!window->CreateAt(RECT{50, 50, 450, 350}, false)) {
    delete window;
    return nullptr;
  }
  WindowBuilder builder;
  auto* root = dynamic_cast<Box*>(builder.Create(
      L"<Window>" + classes + L"<VBox>" + body + L"</VBox></Window>", CreateControlCallback(), window));
  if (!root) {
    DestroyWindow(window->GetHWND());
    delete window;
    return nullptr;
  }
  window->AttachRoot(root);
  window->ShowWindow(true, false);
  return window;
}

// The process's memory counters (link psapi).
inline PROCESS_MEMORY_COUNTERS ProcessMemory() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters;
}

// How far the process's commit rises above its level at the sampler's start, at its highest,
// read every millisecond: Wine's PeakPagefileUsage follows the current commit, while its
// PeakWorkingSetSize is the process's true high-water mark.
class CommitSampler {
 public:
  CommitSampler() : thread_([this] { Sample(); }) {}
  ~CommitSampler() {
    stop_ = true;
    thread_.join();
  }
  CommitSampler(const CommitSampler&) = delete;
  CommitSampler& operator=(const CommitSampler&) = delete;

  // In bytes, up to now.
  size_t PeakGrowth() const { return std::max<size_t>(peak_, ProcessMemory().PagefileUsage) - start_; }

 private:
  void Sample() {
    while (!stop_) {
      peak_ = std::max<size_t>(peak_, ProcessMemory().PagefileUsage);
      Sleep(1);
    }
  }

  const size_t start_ = ProcessMemory().PagefileUsage;
  std::atomic<size_t> peak_{start_};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Moves the real pointer to a client point of `hwnd` and clicks (xdotool on the X display).
inline bool XClick(HWND hwnd, POINT client, int button = 1) {
  ClientToScreen(hwnd, &client);
  const std::string command = "start /unix /usr/bin/xdotool mousemove --sync " +
                              std::to_string(client.x) + " " + std::to_string(client.y) +
                              " click " + std::to_string(button);
  return _wsystem(std::wstring(command.begin(), command.end()).c_str()) == 0;
}

}  // namespace ui
