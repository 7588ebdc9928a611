// The microphones, control devices and Bluetooth LE devices present, as the settings window
// offers them. Synchronous; no device is opened.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct BleDeviceInfo {
  std::wstring name;     // friendly name
  std::wstring path;     // device-interface path
  std::wstring address;  // 12 hex digits, as the system stores it
  int32_t connected = 0;
};

// The GATT service that Kelvane's BLE microphone and control device offer.
extern const GUID kKelvaneGattService;

// Appends the name of every waveIn device, in device-id order.
void EnumWaveInNames(std::vector<std::wstring>* names);

// The interface path of the first present HID interface of the control device
// (vendor E4A9, product 507C, interface 5), or an empty string.
std::wstring FindControlDevicePath();

// Appends one record per present Bluetooth LE device interface. A property the system
// cannot give reads as empty (0 for the connected flag); a name or address larger than the
// property buffer ends the walk.
void EnumBleDevices(std::vector<BleDeviceInfo>* devices);

// The interface path of the first present interface of the service whose path carries the
// address (compared without regard to case), or an empty string.
std::wstring FindGattServicePath(const GUID& service, const std::wstring& address);
