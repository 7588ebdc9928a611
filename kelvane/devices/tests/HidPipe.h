// The far end of a HID device in tests: an overlapped message-mode named pipe, whose client
// handle reads and writes whole reports like a HID handle. By default one instance, so a
// second client is refused while one is connected and a client that left uses it up; with
// more, that many clients in turn can open it (a presence probe, then the device). It can
// be unplugged and plugged in again at the same path.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

class HidPipe {
 public:
  // Each direction's buffer: output reports beyond it wait until the pipe reads them.
  static constexpr DWORD kBufferBytes = 4096;

  explicit HidPipe(int instances = 1) : path_(UniquePath()), instances_(instances) {
    event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Plug();
  }
  ~HidPipe() {
    Unplug();
    CloseHandle(event_);
  }
  HidPipe(const HidPipe&) = delete;
  HidPipe& operator=(const HidPipe&) = delete;

  bool IsValid() const { return !handles_.empty() && handles_[0] != INVALID_HANDLE_VALUE; }

  // The device goes away: a client's transfers fail and its path no longer opens.
  void Unplug() {
    for (HANDLE handle : handles_) CloseHandle(handle);
    handles_.clear();
  }
  // The device is back at the same path, without a client.
  void Plug() {
    Unplug();
    for (int i = 0; i < instances_; ++i) {
      handles_.push_back(CreateNamedPipeW(
          path_.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
          PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, instances_, kBufferBytes,
          kBufferBytes, 0, nullptr));
    }
  }
  // The path as the settings hold it.
  std::string Path() const { return std::string(path_.begin(), path_.end()); }

  // Sends one input report; false when no client takes it.
  bool Send(const std::vector<unsigned char>& report) {
    const HANDLE handle = Connected();
    DWORD written = 0;
    return Complete(handle,
                    WriteFile(handle, report.data(), DWORD(report.size()), nullptr, Overlapped()),
                    &written, 5000) &&
           written == report.size();
  }

  // True once a client that connected has closed its handle.
  bool ClientLeft() {
    DWORD read = 0;
    unsigned char byte;
    const HANDLE handle = handles_.empty() ? INVALID_HANDLE_VALUE : handles_[0];
    if (Complete(handle, ReadFile(handle, &byte, 1, nullptr, Overlapped()), &read, 1000)) {
      return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED;
  }

  // Receives one output report; empty after the time-out or when the client has gone.
  std::vector<unsigned char> Receive(DWORD timeoutMs = 5000) {
    std::vector<unsigned char> report(4096);
    DWORD read = 0;
    const HANDLE handle = Connected();
    if (!Complete(handle,
                  ReadFile(handle, report.data(), DWORD(report.size()), nullptr, Overlapped()),
                  &read, timeoutMs)) {
      return {};
    }
    report.resize(read);
    return report;
  }

 private:
  static std::wstring UniquePath() {
    static std::atomic<int> counter{0};
    return L"\\\\.\\pipe\\kelvane-hid-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
  }

  OVERLAPPED* Overlapped() {
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = event_;
    ResetEvent(event_);
    return &overlapped_;
  }

  // The instance whose client is connected now; the first one when none is.
  HANDLE Connected() const {
    if (handles_.empty()) return INVALID_HANDLE_VALUE;
    for (HANDLE handle : handles_) {
      if (PeekNamedPipe(handle, nullptr, 0, nullptr, nullptr, nullptr)) return handle;
    }
    return handles_[0];
  }

  bool Complete(HANDLE handle, BOOL started, DWORD* transferred, DWORD timeoutMs) {
    if (!started && GetLastError() != ERROR_IO_PENDING) return false;
    if (WaitForSingleObject(event_, timeoutMs) != WAIT_OBJECT_0) {
      CancelIoEx(handle, &overlapped_);
      GetOverlappedResult(handle, &overlapped_, transferred, TRUE);
      return false;
    }
    return GetOverlappedResult(handle, &overlapped_, transferred, FALSE) != FALSE;
  }

  std::wstring path_;
  int instances_;
  std::vector<HANDLE> handles_;
  HANDLE event_;
  OVERLAPPED overlapped_{};
};
