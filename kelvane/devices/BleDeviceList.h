// The Bluetooth LE devices the system knows, with the properties that tell whether the
// configured one is there.
#pragma once

#include <string>
#include <vector>

struct BleDeviceRecord {
  std::wstring friendlyName;
  std::wstring path;
  std::wstring identifyingText;
  bool connected = false;
};

// Present BLE device interfaces, in the system's order. A property too large to read ends
// the list with the records gathered so far.
std::vector<BleDeviceRecord> ListBleDevices();
