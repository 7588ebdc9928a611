// Device interfaces that the system's SetupAPI lists as present without any hardware: a
// device instance is registered, given properties, and its interface marked "Linked".
#pragma once

#include <windows.h>
#include <devpropdef.h>

#include <string>
#include <vector>

struct FakeProperty {
  DEVPROPKEY key;
  DEVPROPTYPE type;
  std::vector<BYTE> bytes;
};

FakeProperty FakeStringProperty(const DEVPROPKEY& key, const std::wstring& text);
FakeProperty FakeBooleanProperty(const DEVPROPKEY& key, bool value);

struct FakeInterface {
  GUID interface_class;
  std::wstring instance_id;  // e.g. HID\VID_E4A9&PID_507C&MI_05\7&1&0&0000
  std::vector<FakeProperty> properties;
  bool present = true;
};

// Registers the device instance and its interface; the interface path (the system lower-
// cases it) or an empty string on failure.
std::wstring AddFakeInterface(const FakeInterface& fake);

// Removes the device instance and its interfaces; true when it existed.
bool RemoveFakeDevice(const std::wstring& instance_id);

// Property keys the settings tool reads from BLE devices.
extern const DEVPROPKEY kFakeFriendlyName;
extern const DEVPROPKEY kFakeBluetoothAddress;
extern const DEVPROPKEY kFakeConnected;

// Interface classes of the settings tool's device lists.
extern const GUID kFakeHidClass;
extern const GUID kFakeBleDeviceClass;
extern const GUID kFakeGattServiceClass;

// Instance ids in the forms the system gives these devices (compared without regard to case).
std::wstring FakeHidInstanceId(const std::wstring& vid_pid_mi, const std::wstring& serial);
std::wstring FakeBleDeviceInstanceId(const std::wstring& address);
std::wstring FakeGattServiceInstanceId(const std::wstring& address, const std::wstring& serial = L"8&3D4E5F&0&0023");

// A BLE device with name, address and connected flag, and, when with_service, its Kelvane
// GATT service interface. Returns the device interface path.
std::wstring AddFakeBleDevice(const std::wstring& name, const std::wstring& address, bool connected,
                              bool with_service);
void RemoveFakeBleDevice(const std::wstring& address);
