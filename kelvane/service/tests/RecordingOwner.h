// The IME service's owner in tests: a window on the test thread that records the service's
// window messages (and frees their texts), plus the status and spectrum calls.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "IMEServiceOwner.h"
#include "PostedObjects.h"
#include "PumpUntil.h"
#include "mfc/AfxString.h"

struct OwnerMessage {
  UINT message;
  WPARAM wparam;
  std::wstring text;  // of WM_USER+2 and WM_USER+5
};

class RecordingOwner : public IIMEServiceOwner {
 public:
  RecordingOwner() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &RecordingOwner::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ImeServiceRecordingOwner";
    RegisterClassW(&wc);  // fails harmlessly when an earlier owner registered it
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~RecordingOwner() {
    DestroyWindow(window_);
    PostedObjects::Discard(window_);
  }
  RecordingOwner(const RecordingOwner&) = delete;
  RecordingOwner& operator=(const RecordingOwner&) = delete;

  HWND GetMessageWindow() override { return window_; }
  void SetNetworkStatus(int online, const wchar_t* text) override {
    if (onNetworkStatus) onNetworkStatus();
    Record([&] { networkStatuses_.emplace_back(online, text); });
  }
  void SetTranslateStatus(int on, const wchar_t* srcName, const wchar_t* dstName) override {
    Record([&] { translateStatuses_.push_back(std::to_wstring(on) + L" " + srcName + L" " + dstName); });
  }
  void AddSamples(const unsigned char*, unsigned long size) override {
    Record([&] { sampleBytes_ += size; });
  }

  // Runs inside SetNetworkStatus, on the service's queue thread.
  std::function<void()> onNetworkStatus;

  std::vector<OwnerMessage> Messages() const { return messages_; }
  // The messages of one id, in arrival order.
  std::vector<OwnerMessage> Messages(UINT message) const {
    std::vector<OwnerMessage> found;
    for (const OwnerMessage& m : messages_) {
      if (m.message == message) found.push_back(m);
    }
    return found;
  }
  std::vector<std::pair<int, std::wstring>> NetworkStatuses() {
    std::lock_guard<std::mutex> lock(mutex_);
    return networkStatuses_;
  }
  std::vector<std::wstring> TranslateStatuses() {
    std::lock_guard<std::mutex> lock(mutex_);
    return translateStatuses_;
  }
  unsigned long SampleBytes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return sampleBytes_;
  }

 private:
  // Records under the lock and wakes the test thread's PumpUntil.
  template <typename Change>
  void Record(Change change) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      change();
    }
    PostMessageW(window_, WM_NULL, 0, 0);
  }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<RecordingOwner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr || msg < WM_USER + 2 || msg > WM_USER + 7) {
      return DefWindowProcW(hwnd, msg, wparam, lparam);
    }
    OwnerMessage received{msg, wparam, L""};
    if (msg == WM_USER + 2 || msg == WM_USER + 5) {
      if (auto text = PostedObjects::Take<CString>(hwnd, msg, lparam)) received.text = text->GetString();
    }
    self->messages_.push_back(received);
    return 0;
  }

  HWND window_;
  std::vector<OwnerMessage> messages_;  // test thread only
  std::mutex mutex_;
  std::vector<std::pair<int, std::wstring>> networkStatuses_;
  std::vector<std::wstring> translateStatuses_;
  unsigned long sampleBytes_ = 0;
};
