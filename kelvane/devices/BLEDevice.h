// A Bluetooth LE GATT device: the BLE microphone (type 2) or the BLE control device (type 4).
// It registers for value-changed notifications of one characteristic and hands each value
// to the data callback.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

#include "BleGattApi.h"
#include "Device.h"
#include "config.pb.h"

class CBLEDevice : public CDevice {
 public:
  explicit CBLEDevice(int type);
  ~CBLEDevice() override;

  // The device of the settings (not owned): its path is opened, its name found by Check.
  void SetDescriptor(const ORVANE::Config::DeviceDescriptor* descriptor) { descriptor_ = descriptor; }

  int SetGattIds(const GUID ids[2]) override;
  int Open() override;
  int Close() override;
  // At most kMaxWriteBytes; longer writes are refused.
  int Write(const unsigned char* bytes, unsigned long length) override;
  // 1 when a connected device's identifying text equals the configured name.
  int Check() override;

  static constexpr unsigned long kMaxWriteBytes = 252;

 private:
  static void CALLBACK OnValueChanged(BTH_LE_GATT_EVENT_TYPE type, PVOID eventOut, PVOID context);

  std::wstring Path() const;
  // Registers for notifications of the characteristic; false (logged) when it cannot.
  bool RegisterEvent(HANDLE handle);
  bool FetchServices(HANDLE handle);
  bool FetchCharacteristics(HANDLE handle);
  bool RegisterCharacteristic(HANDLE handle, BTH_LE_GATT_CHARACTERISTIC* characteristic);
  // Ends the registration and closes the handle; true when the device was open.
  bool Release();

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  const ORVANE::Config::DeviceDescriptor* descriptor_ = nullptr;
  GUID serviceId_{};
  GUID characteristicId_{};
  // Kept while registered: the registration refers to the characteristic.
  std::unique_ptr<BTH_LE_GATT_SERVICE[]> services_;
  USHORT serviceCount_ = 0;
  std::unique_ptr<BTH_LE_GATT_CHARACTERISTIC[]> characteristics_;
  USHORT characteristicCount_ = 0;
  BTH_LE_GATT_CHARACTERISTIC* registered_ = nullptr;
  BLUETOOTH_GATT_EVENT_HANDLE eventHandle_ = INVALID_HANDLE_VALUE;

  std::mutex lock_;  // Open, Close and Write: the handle, the registration and the arrays
};
