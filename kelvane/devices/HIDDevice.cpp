#include "HIDDevice.h"

#include "HidApi.h"
#include "NameTables.h"
#include "TraceMessage.h"
#include "tessik/TessikService.h"

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
  std::unique_lock<std::mutex> lock(handleLock_);
  if (handle_ == INVALID_HANDLE_VALUE) return 1;
  const HANDLE handle = handle_;
  handle_ = INVALID_HANDLE_VALUE;  // no new read starts from here on
  if (readPending_) {
    CancelIoEx(handle, &read_);
    readCollected_.wait(lock, [this] { return !readPending_; });
  }
  CloseHandle(handle);
  return 1;
}

int CHIDDevice::CheckDevice() {
  {
    std::lock_guard<std::mutex> lock(handleLock_);
    if (handle_ != INVALID_HANDLE_VALUE) return 1;
  }
  const HANDLE probe = OpenPath();
  if (probe == INVALID_HANDLE_VALUE) return 0;
  CloseHandle(probe);
  return 1;
}

int CHIDDevice::ReadDevice(unsigned char* buffer, unsigned long length) {
  const HANDLE handle = StartRead(buffer, length);
  if (handle == INVALID_HANDLE_VALUE) return 0;
  DWORD transferred = 0;
  // Waits on the read event; a cancelled read completes with an error.
  const BOOL done = GetOverlappedResult(handle, &read_, &transferred, TRUE);
  EndRead();
  return done ? static_cast<int>(transferred) : 0;
}

HANDLE CHIDDevice::StartRead(unsigned char* buffer, unsigned long length) {
  std::lock_guard<std::mutex> lock(handleLock_);
  if (handle_ == INVALID_HANDLE_VALUE) {
    TraceMessage(kTraceError, L"CHIDDevice Read failed. Invalid device handle value.");
    return INVALID_HANDLE_VALUE;
  }
  ResetEvent(read_.hEvent);
  if (!ReadFile(handle_, buffer, length, nullptr, &read_)) {
    const DWORD error = GetLastError();
    if (error != ERROR_IO_PENDING) {
      TraceMessage(kTraceError, L"CHIDDevice Post read event to iocp failed. Error code:%d", error);
      return INVALID_HANDLE_VALUE;
    }
  }
  readPending_ = true;
  return handle_;
}

void CHIDDevice::EndRead() {
  std::lock_guard<std::mutex> lock(handleLock_);
  readPending_ = false;
  readCollected_.notify_all();
}

int CHIDDevice::WriteDevice(const unsigned char* bytes, unsigned long length) {
  std::lock_guard<std::mutex> lock(handleLock_);
  ResetEvent(write_.hEvent);
  if (!WriteFile(handle_, bytes, length, nullptr, &write_)) {
    const DWORD error = GetLastError();
    if (error != ERROR_IO_PENDING) {
      TraceMessage(kTraceError, L"CHIDDevice Post write event to iocp failed. Error code:%d", error);
      return 0;
    }
  }
  DWORD written = 0;
  if (!GetOverlappedResult(handle_, &write_, &written, TRUE)) return 0;
  return static_cast<int>(written);
}
