// The far end of a HID device in tests: an overlapped message-mode named pipe, whose client
// handle reads and writes whole reports like a HID handle. One instance, so a second
// client is refused while one is connected.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

class HidPipe {
 public:
  HidPipe() : path_(UniquePath()) {
    handle_ = CreateNamedPipeW(path_.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                               PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096, 4096,
                               0, nullptr);
    event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  }
  ~HidPipe() {
    CloseHandle(handle_);
    CloseHandle(event_);
  }
  HidPipe(const HidPipe&) = delete;
  HidPipe& operator=(const HidPipe&) = delete;

  bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE; }
  // The path as the settings hold it.
  std::string Path() const { return std::string(path_.begin(), path_.end()); }

  // Sends one input report; false when no client takes it.
  bool Send(const std::vector<unsigned char>& report) {
    DWORD written = 0;
    return Complete(WriteFile(handle_, report.data(), DWORD(report.size()), nullptr, Overlapped()),
                    &written, 5000) &&
           written == report.size();
  }

  // True once a client that connected has closed its handle.
  bool ClientLeft() {
    DWORD read = 0;
    unsigned char byte;
    if (Complete(ReadFile(handle_, &byte, 1, nullptr, Overlapped()), &read, 1000)) return false;
    const DWORD error = GetLastError();
    return error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED;
  }

  // Receives one output report; empty after the time-out or when the client has gone.
  std::vector<unsigned char> Receive(DWORD timeoutMs = 5000) {
    std::vector<unsigned char> report(4096);
    DWORD read = 0;
    if (!Complete(ReadFile(handle_, report.data(), DWORD(report.size()), nullptr, Overlapped()),
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

  bool Complete(BOOL started, DWORD* transferred, DWORD timeoutMs) {
    if (!started && GetLastError() != ERROR_IO_PENDING) return false;
    if (WaitForSingleObject(event_, timeoutMs) != WAIT_OBJECT_0) {
      CancelIoEx(handle_, &overlapped_);
      GetOverlappedResult(handle_, &overlapped_, transferred, TRUE);
      return false;
    }
    return GetOverlappedResult(handle_, &overlapped_, transferred, FALSE) != FALSE;
  }

  std::wstring path_;
  HANDLE handle_;
  HANDLE event_;
  OVERLAPPED overlapped_{};
};
