#include "AsyncDevice.h"

int CAsyncDevice::Open() {
  if (IsRuning() == 1) return 1;
  return StartThread();
}

int CAsyncDevice::Close() {
  CloseDevice();
  ConcludeThread(INFINITE, 0);
  return 1;
}

int CAsyncDevice::Write(const unsigned char* bytes, unsigned long length) {
  return WriteDevice(bytes, length);
}

int CAsyncDevice::Check() { return CheckDevice(); }

int CAsyncDevice::ThreadStart() {
  const int opened = OpenDevice();
  NotifyOpened();
  return opened;
}

int CAsyncDevice::ThreadStep() {
  unsigned char buffer[kReadBufferSize];
  const int read = ReadDevice(buffer, kReadBufferSize);
  if (read <= 0) return 0;
  NotifyData(buffer, static_cast<unsigned long>(read));
  return 1;
}

int CAsyncDevice::ThreadEnd() {
  CloseDevice();
  NotifyClosed();
  return 1;
}
