// The control device on USB HID: a reading thread blocks in overlapped reads of its reports.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <string>

#include "AsyncDevice.h"
#include "config.pb.h"

class CHIDDevice : public CAsyncDevice {
 public:
  CHIDDevice();
  ~CHIDDevice() override;

  // The control device of the settings (not owned); its path is the HID interface opened.
  void SetDescriptor(const ORVANE::Config::DeviceDescriptor* descriptor) { descriptor_ = descriptor; }

 protected:
  int OpenDevice() override;
  // Cancels a pending read, waits until the reading thread has collected it, then closes.
  int CloseDevice() override;
  int CheckDevice() override;
  int ReadDevice(unsigned char* buffer, unsigned long length) override;
  // One write at a time: the writes share one transfer.
  int WriteDevice(const unsigned char* bytes, unsigned long length) override;

 private:
  std::wstring Path() const;
  HANDLE OpenPath() const;
  // Checks the opened interface and sets its input buffers; false (logged) when refused.
  bool PrepareHandle(HANDLE handle);
  // Starts a read on the open handle; the handle it was started on, or INVALID_HANDLE_VALUE.
  HANDLE StartRead(unsigned char* buffer, unsigned long length);
  void EndRead();

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  OVERLAPPED read_{};
  OVERLAPPED write_{};
  int inputBufferCount_ = 8;
  const ORVANE::Config::DeviceDescriptor* descriptor_ = nullptr;

  // Held by every write and while the handle is opened, closed or swapped.
  std::mutex handleLock_;
  std::condition_variable readCollected_;
  bool readPending_ = false;  // a read was started and its completion not yet collected
};
