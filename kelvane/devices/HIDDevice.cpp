#include "HIDDevice.h"

#include <algorithm>
#include <chrono>
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

// Manual-reset, not signalled; kept for every reopen unless left to the driver.
CHIDDevice::Transfer::Transfer() {
  overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

CHIDDevice::Transfer::~Transfer() { CloseHandle(overlapped.hEvent); }

CHIDDevice::CHIDDevice()
    : CAsyncDevice(DT_Ctl_HID),
      read_(std::make_unique<Transfer>()),
      write_(std::make_unique<Transfer>()) {}

CHIDDevice::~CHIDDevice() { Close(); }

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
      Hid().cancelIo(handle, &read_->overlapped);
      if (!readCollected_.wait_for(lock, std::chrono::milliseconds(kCancelTimeoutMs),
                                   [this] { return !readPending_; })) {
        AbandonRead();
      }
    }
  }
  std::lock_guard<std::mutex> noWrite(writeLock_);  // a write already on the handle ends first
  CloseHandle(handle);
  if (write_ == nullptr) write_ = std::make_unique<Transfer>();  // the next open writes again
  return 1;
}

void CHIDDevice::AbandonRead() {
  Transfer* abandoned = read_.release();  // the driver may still complete into it
  read_ = std::make_unique<Transfer>();
  readPending_ = false;
  gone_ = true;
  SetEvent(abandoned->overlapped.hEvent);
  TraceMessage(kTraceError, L"CHIDDevice Read cancel not completed within %d ms, the device is gone.",
               static_cast<int>(kCancelTimeoutMs));
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
  Transfer* transfer = nullptr;
  const HANDLE handle = StartRead(length, &transfer, error);
  DWORD transferred = 0;
  if (handle != INVALID_HANDLE_VALUE) {
    // A cancelled read completes with an error; one abandoned by CloseDevice wakes it too.
    WaitForSingleObject(transfer->overlapped.hEvent, INFINITE);
    if (!EndRead(handle, transfer, &transferred, &error, buffer)) return 0;
  }
  if (IsDeviceGone(error)) {
    StopReadingGoneDevice(error);
  } else if (error != ERROR_SUCCESS && handle == INVALID_HANDLE_VALUE) {
    // A read the system refused to start; one cancelled by CloseDevice is no news.
    TraceMessage(kTraceError, L"CHIDDevice Post read event to iocp failed. Error code:%d", error);
  }
  return error == ERROR_SUCCESS ? static_cast<int>(transferred) : 0;
}

HANDLE CHIDDevice::StartRead(unsigned long length, Transfer** transfer, DWORD& error) {
  std::lock_guard<std::mutex> lock(handleLock_);
  error = ERROR_SUCCESS;
  if (handle_ == INVALID_HANDLE_VALUE) {
    TraceMessage(kTraceError, L"CHIDDevice Read failed. Invalid device handle value.");
    return INVALID_HANDLE_VALUE;
  }
  Transfer& read = *read_;
  read.bytes.resize(length);
  ResetEvent(read.overlapped.hEvent);
  if (!ReadFile(handle_, read.bytes.data(), length, nullptr, &read.overlapped) &&
      GetLastError() != ERROR_IO_PENDING) {
    error = GetLastError();
    return INVALID_HANDLE_VALUE;
  }
  readPending_ = true;
  *transfer = &read;
  return handle_;
}

bool CHIDDevice::EndRead(HANDLE handle, Transfer* transfer, DWORD* transferred, DWORD* error,
                         unsigned char* buffer) {
  std::lock_guard<std::mutex> lock(handleLock_);
  if (transfer != read_.get()) return false;  // abandoned: the driver keeps it
  if (GetOverlappedResult(handle, &transfer->overlapped, transferred, FALSE)) {
    std::copy_n(transfer->bytes.data(), *transferred, buffer);
  } else {
    *error = GetLastError();
  }
  readPending_ = false;
  readCollected_.notify_all();
  return true;
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
  if (write_ == nullptr) return 0;
  const HANDLE handle = CurrentHandle();
  write_->bytes.assign(bytes, bytes + length);
  ResetEvent(write_->overlapped.hEvent);
  if (!WriteFile(handle, write_->bytes.data(), length, nullptr, &write_->overlapped) &&
      GetLastError() != ERROR_IO_PENDING) {
    TraceMessage(kTraceError, L"CHIDDevice Post write event to iocp failed. Error code:%d",
                 GetLastError());
    return 0;
  }
  return FinishWrite(handle);
}

int CHIDDevice::FinishWrite(HANDLE handle) {
  OVERLAPPED& transfer = write_->overlapped;
  DWORD written = 0;
  if (WaitForSingleObject(transfer.hEvent, kWriteTimeoutMs) != WAIT_OBJECT_0) {
    Hid().cancelIo(handle, &transfer);
    if (WaitForSingleObject(transfer.hEvent, kCancelTimeoutMs) != WAIT_OBJECT_0) {
      AbandonWrite();
      return 0;
    }
    GetOverlappedResult(handle, &transfer, &written, FALSE);  // the transfer is free again
    TraceMessage(kTraceError, L"CHIDDevice Write not taken within %d ms, report dropped.",
                 static_cast<int>(kWriteTimeoutMs));
    return 0;
  }
  if (!GetOverlappedResult(handle, &transfer, &written, FALSE)) return 0;
  return static_cast<int>(written);
}

void CHIDDevice::AbandonWrite() {
  write_.release();  // the driver may still complete into it
  {
    std::lock_guard<std::mutex> lock(handleLock_);
    gone_ = true;
  }
  TraceMessage(kTraceError, L"CHIDDevice Write cancel not completed within %d ms, the device is gone.",
               static_cast<int>(kCancelTimeoutMs));
}
