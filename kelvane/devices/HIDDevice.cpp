#include "HIDDevice.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "HidApi.h"
#include "NameTables.h"
#include "TraceMessage.h"
#include "tessik/TessikService.h"

namespace {

// Read errors after which the handle will never read again: the device was unplugged or
// its driver stopped (the pipe errors are those of the test stand-in).
bool IsDeviceGone(DWORD error) {
  static const DWORD kGone[] = {ERROR_DEVICE_NOT_CONNECTED, ERROR_DEVICE_REMOVED,
                                ERROR_BAD_COMMAND,          ERROR_INVALID_HANDLE,
                                ERROR_FILE_NOT_FOUND,       ERROR_BROKEN_PIPE,
                                ERROR_PIPE_NOT_CONNECTED};
  return std::find(std::begin(kGone), std::end(kGone), error) != std::end(kGone);
}

}  // namespace

CHIDDevice::CHIDDevice() : CAsyncDevice(DT_Ctl_HID) {
  // Manual-reset, not signalled; made once and kept for every reopen.
  read_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  write_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

CHIDDevice::~CHIDDevice() {
  Close();
  CloseHandle(read_.hEvent);
  CloseHandle(write_.hEvent);
}

std::wstring CHIDDevice::Path() const {
  return descriptor_ ? CTessikService::StringToWString(descriptor_->path()) : std::wstring();
}

HANDLE CHIDDevice::OpenPath() const {
  return CreateFileW(Path().c_str(), GENERIC_READ | GENERIC_WRITE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_OVERLAPPED, nullptr);
}

int CHIDDevice::OpenDevice() {
  TraceMessage(kTraceNormal, L"CHIDDevice Open HID Device ...");
  std::lock_guard<std::mutex> lock(handleLock_);
  if (handle_ != INVALID_HANDLE_VALUE) {
    TraceMessage(kTraceError, L"CHIDDevice HID is already opened, try later...");
    return 1;
  }
  const HANDLE handle = OpenPath();
  if (handle == INVALID_HANDLE_VALUE) {
    TraceMessage(kTraceError, L"CHIDDevice Fail to open HID:%s", Path().c_str());
    return 0;
  }
  if (!PrepareHandle(handle)) {
    CloseHandle(handle);
    return 0;
  }
  handle_ = handle;
  gone_ = false;
  TraceMessage(kTraceNormal, L"HID opened successfully.");
  return 1;
}

bool CHIDDevice::PrepareHandle(HANDLE handle) {
  HIDD_ATTRIBUTES attributes{};
  attributes.Size = sizeof(attributes);
  if (!Hid().getAttributes(handle, &attributes)) {
    TraceMessage(kTraceError, L"CHIDDevice call HidD_GetAttributes failed");
    return false;
  }
  if (!Hid().setNumInputBuffers(handle, static_cast<ULONG>(inputBufferCount_))) {
    TraceMessage(kTraceError, L"CHIDDevice call HidD_SetNumInputBuffers failed");
    return false;
  }
  return true;
}

int CHIDDevice::CloseDevice() {
  HANDLE handle = INVALID_HANDLE_VALUE;
  {
    std::unique_lock<std::mutex> lock(handleLock_);
    if (handle_ == INVALID_HANDLE_VALUE) return 1;
    handle = std::exchange(handle_, INVALID_HANDLE_VALUE);  // no read or write starts on it now
    if (readPending_) {
      CancelIoEx(handle, &read_);
      readCollected_.wait(lock, [this] { return !readPending_; });
    }
  }
  std::lock_guard<std::mutex> noWrite(writeLock_);  // a write already on the handle ends first
  CloseHandle(handle);
  return 1;
}

int CHIDDevice::CheckDevice() {
  {
    std::lock_guard<std::mutex> lock(handleLock_);
    if (std::exchange(gone_, false)) return 0;
    if (handle_ != INVALID_HANDLE_VALUE) return 1;
  }
  const HANDLE probe = OpenPath();
  if (probe == INVALID_HANDLE_VALUE) return 0;
  CloseHandle(probe);
  return 1;
}

int CHIDDevice::ReadDevice(unsigned char* buffer, unsigned long length) {
  DWORD error = ERROR_SUCCESS;
  const HANDLE handle = StartRead(buffer, length, error);
  DWORD transferred = 0;
  if (handle != INVALID_HANDLE_VALUE) {
    // Waits on the read event; a cancelled read completes with an error.
    if (!GetOverlappedResult(handle, &read_, &transferred, TRUE)) error = GetLastError();
    EndRead();
  }
  if (IsDeviceGone(error)) {
    StopReadingGoneDevice(error);
  } else if (error != ERROR_SUCCESS && handle == INVALID_HANDLE_VALUE) {
    // A read the system refused to start; one cancelled by CloseDevice is no news.
    TraceMessage(kTraceError, L"CHIDDevice Post read event to iocp failed. Error code:%d", error);
  }
  return error == ERROR_SUCCESS ? static_cast<int>(transferred) : 0;
}

HANDLE CHIDDevice::StartRead(unsigned char* buffer, unsigned long length, DWORD& error) {
  std::lock_guard<std::mutex> lock(handleLock_);
  error = ERROR_SUCCESS;
  if (handle_ == INVALID_HANDLE_VALUE) {
    TraceMessage(kTraceError, L"CHIDDevice Read failed. Invalid device handle value.");
    return INVALID_HANDLE_VALUE;
  }
  ResetEvent(read_.hEvent);
  if (!ReadFile(handle_, buffer, length, nullptr, &read_) && GetLastError() != ERROR_IO_PENDING) {
    error = GetLastError();
    return INVALID_HANDLE_VALUE;
  }
  readPending_ = true;
  return handle_;
}

void CHIDDevice::EndRead() {
  std::lock_guard<std::mutex> lock(handleLock_);
  readPending_ = false;
  readCollected_.notify_all();
}

void CHIDDevice::StopReadingGoneDevice(DWORD error) {
  TraceMessage(kTraceError, L"CHIDDevice The device is gone, reading stops. Error code:%d", error);
  {
    std::lock_guard<std::mutex> lock(handleLock_);
    gone_ = true;
  }
  ConcludeThread(0, 0);  // on the reading thread: it ends after this step, closing the handle
}

HANDLE CHIDDevice::CurrentHandle() {
  std::lock_guard<std::mutex> lock(handleLock_);
  return handle_;
}

int CHIDDevice::WriteDevice(const unsigned char* bytes, unsigned long length) {
  std::lock_guard<std::mutex> lock(writeLock_);
  const HANDLE handle = CurrentHandle();
  ResetEvent(write_.hEvent);
  if (!WriteFile(handle, bytes, length, nullptr, &write_) && GetLastError() != ERROR_IO_PENDING) {
    TraceMessage(kTraceError, L"CHIDDevice Post write event to iocp failed. Error code:%d",
                 GetLastError());
    return 0;
  }
  return FinishWrite(handle);
}

int CHIDDevice::FinishWrite(HANDLE handle) {
  DWORD written = 0;
  if (WaitForSingleObject(write_.hEvent, kWriteTimeoutMs) != WAIT_OBJECT_0) {
    CancelIoEx(handle, &write_);
    GetOverlappedResult(handle, &write_, &written, TRUE);  // the transfer is free again
    TraceMessage(kTraceError, L"CHIDDevice Write not taken within %d ms, report dropped.",
                 static_cast<int>(kWriteTimeoutMs));
    return 0;
  }
  if (!GetOverlappedResult(handle, &write_, &written, FALSE)) return 0;
  return static_cast<int>(written);
}
