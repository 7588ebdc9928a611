// A device read by blocking reads on its own thread.
#pragma once

#include "Device.h"
#include "tessik/TessikThread.h"

class CAsyncDevice : public CTessikThread, public CDevice {
 public:
  // 1 when the reading thread already runs, otherwise whether it could be started.
  int Open() override;
  // Closes the device (waking a blocked read) and waits for the reading thread to end.
  int Close() override;
  int Write(const unsigned char* bytes, unsigned long length) override;
  int Check() override;

 protected:
  explicit CAsyncDevice(int type) : CDevice(type) {}

  virtual int OpenDevice() = 0;
  virtual int CloseDevice() = 0;
  virtual int CheckDevice() = 0;
  // Blocks until data arrives or the device is closed; bytes read, 0 for none.
  virtual int ReadDevice(unsigned char* buffer, unsigned long length) = 0;
  virtual int WriteDevice(const unsigned char* bytes, unsigned long length) = 0;

 private:
  static constexpr unsigned long kReadBufferSize = 4096;

  // Reading thread: open and report, then read and deliver, then close and report.
  int ThreadStart() override;
  int ThreadStep() override;
  int ThreadEnd() override;
};
