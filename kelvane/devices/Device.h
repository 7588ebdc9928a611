// A device Kelvane talks to: a control device or a microphone.
#pragma once

#include <windows.h>

#include <functional>

class CDevice {
 public:
  using OpenedCallback = std::function<int(CDevice*)>;
  using ClosedCallback = std::function<void(CDevice*)>;
  using DataCallback = std::function<int(CDevice*, unsigned char* bytes, unsigned long size)>;

  virtual ~CDevice() = default;

  // 1 = open (or already open), 0 = failure.
  virtual int Open() = 0;
  // Always 1. No data callback follows once it has returned.
  virtual int Close() = 0;
  // Bytes written, 0 on failure or for devices without output.
  virtual int Write(const unsigned char* bytes, unsigned long length) = 0;
  // 1 = the device is present.
  virtual int Check() = 0;
  // Service and characteristic identifier; only BLE devices use them.
  virtual int SetGattIds(const GUID ids[2]) { return 1; }

  void SetOpenedCallback(OpenedCallback callback) { opened_ = std::move(callback); }
  void SetClosedCallback(ClosedCallback callback) { closed_ = std::move(callback); }
  void SetDataCallback(DataCallback callback) { data_ = std::move(callback); }
  int GetType() const { return type_; }

 protected:
  explicit CDevice(int type) : type_(type) {}

  // Each calls its callback only when one is bound.
  void NotifyOpened() {
    if (opened_) opened_(this);
  }
  void NotifyClosed() {
    if (closed_) closed_(this);
  }
  void NotifyData(unsigned char* bytes, unsigned long size) {
    if (data_) data_(this, bytes, size);
  }

 private:
  OpenedCallback opened_;
  ClosedCallback closed_;
  DataCallback data_;
  int type_;
};
