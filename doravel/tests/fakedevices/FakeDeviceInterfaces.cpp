#include "FakeDeviceInterfaces.h"

#include <setupapi.h>

#include <memory>

// Exported by setupapi.dll and its import library, but missing from the MinGW header.
extern "C" __declspec(dllimport) BOOL WINAPI SetupDiSetDevicePropertyW(HDEVINFO set, PSP_DEVINFO_DATA device,
                                                                      const DEVPROPKEY* key, DEVPROPTYPE type,
                                                                      const BYTE* buffer, DWORD size, DWORD flags);

const DEVPROPKEY kFakeFriendlyName = {
    {0xA45C254E, 0xDF1C, 0x4EFD, {0x80, 0x20, 0x67, 0xD1, 0x46, 0xA8, 0x50, 0xE0}}, 14};
const DEVPROPKEY kFakeBluetoothAddress = {
    {0x2BD67D8B, 0x8BEB, 0x48D5, {0x87, 0xE0, 0x6C, 0xDA, 0x34, 0x28, 0x04, 0x0A}}, 1};
const DEVPROPKEY kFakeConnected = {
    {0x83DA6326, 0x97A6, 0x4088, {0x94, 0x53, 0xA1, 0x92, 0x3F, 0x57, 0x3B, 0x29}}, 15};

const GUID kFakeHidClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
const GUID kFakeBleDeviceClass = {0x781AEE18, 0x7733, 0x4CE4, {0xAD, 0xD0, 0x91, 0xF4, 0x1C, 0x67, 0xB5, 0x92}};
const GUID kFakeGattServiceClass = {0x00010203, 0x0405, 0x0607, {0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x19, 0x11}};

namespace {

class DeviceInfoList {
 public:
  DeviceInfoList() : set_(SetupDiCreateDeviceInfoList(nullptr, nullptr)) {}
  ~DeviceInfoList() {
    if (set_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set_);
  }
  DeviceInfoList(const DeviceInfoList&) = delete;
  DeviceInfoList& operator=(const DeviceInfoList&) = delete;
  HDEVINFO get() const { return set_; }

 private:
  HDEVINFO set_;
};

std::wstring InterfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* interface_data) {
  DWORD size = 0;
  SetupDiGetDeviceInterfaceDetailW(set, interface_data, nullptr, 0, &size, nullptr);
  if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return std::wstring();
  std::unique_ptr<BYTE[]> buffer(new BYTE[size]());
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.get());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  if (!SetupDiGetDeviceInterfaceDetailW(set, interface_data, detail, size, nullptr, nullptr)) return std::wstring();
  return detail->DevicePath;
}

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

// The interface's registry key under DeviceClasses holds "#\Control\Linked", which the
// system reads as "present".
bool MarkLinked(const GUID& interface_class, const std::wstring& path, bool linked) {
  std::wstring key_name = path;
  if (key_name.compare(0, 4, L"\\\\?\\") != 0) return false;
  key_name.replace(0, 4, L"##?#");
  const std::wstring key_path = L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\" +
                                GuidText(interface_class) + L"\\" + key_name + L"\\#\\Control";
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const DWORD value = linked ? 1 : 0;
  const bool set = RegSetValueExW(key, L"Linked", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                  sizeof(value)) == ERROR_SUCCESS;
  RegCloseKey(key);
  return set;
}

}  // namespace

FakeProperty FakeStringProperty(const DEVPROPKEY& key, const std::wstring& text) {
  const auto* begin = reinterpret_cast<const BYTE*>(text.c_str());
  return {key, DEVPROP_TYPE_STRING, std::vector<BYTE>(begin, begin + (text.size() + 1) * sizeof(wchar_t))};
}

FakeProperty FakeBooleanProperty(const DEVPROPKEY& key, bool value) {
  return {key, DEVPROP_TYPE_BOOLEAN, {static_cast<BYTE>(value ? 0xFF : 0x00)}};
}

std::wstring AddFakeInterface(const FakeInterface& fake) {
  DeviceInfoList list;
  if (list.get() == INVALID_HANDLE_VALUE) return std::wstring();
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof(device);
  if (!SetupDiCreateDeviceInfoW(list.get(), fake.instance_id.c_str(), &fake.interface_class, nullptr, nullptr, 0,
                                &device) ||
      !SetupDiRegisterDeviceInfo(list.get(), &device, 0, nullptr, nullptr, nullptr)) {
    return std::wstring();
  }
  for (const FakeProperty& property : fake.properties) {
    if (!SetupDiSetDevicePropertyW(list.get(), &device, &property.key, property.type, property.bytes.data(),
                                   static_cast<DWORD>(property.bytes.size()), 0)) {
      return std::wstring();
    }
  }
  SP_DEVICE_INTERFACE_DATA interface_data{};
  interface_data.cbSize = sizeof(interface_data);
  if (!SetupDiCreateDeviceInterfaceW(list.get(), &device, &fake.interface_class, nullptr, 0, &interface_data)) {
    return std::wstring();
  }
  const std::wstring path = InterfacePath(list.get(), &interface_data);
  if (path.empty() || !MarkLinked(fake.interface_class, path, fake.present)) return std::wstring();
  return path;
}

bool RemoveFakeDevice(const std::wstring& instance_id) {
  DeviceInfoList list;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof(device);
  if (!SetupDiOpenDeviceInfoW(list.get(), instance_id.c_str(), nullptr, 0, &device)) return false;
  return SetupDiRemoveDevice(list.get(), &device) != FALSE;
}

std::wstring FakeHidInstanceId(const std::wstring& vid_pid_mi, const std::wstring& serial) {
  return L"HID\\" + vid_pid_mi + L"\\" + serial;
}

std::wstring FakeBleDeviceInstanceId(const std::wstring& address) {
  return L"BTHLE\\DEV_" + address + L"\\7&2A1B3C&0&" + address;
}

std::wstring FakeGattServiceInstanceId(const std::wstring& address, const std::wstring& serial) {
  return L"BTHLEDEVICE\\" + GuidText(kFakeGattServiceClass) + L"_DEV_VID&02E4A9_PID&507C_REV&0001_" + address + L"\\" +
         serial;
}

std::wstring AddFakeBleDevice(const std::wstring& name, const std::wstring& address, bool connected,
                              bool with_service) {
  const std::wstring path = AddFakeInterface({kFakeBleDeviceClass,
                                              FakeBleDeviceInstanceId(address),
                                              {FakeStringProperty(kFakeFriendlyName, name),
                                               FakeStringProperty(kFakeBluetoothAddress, address),
                                               FakeBooleanProperty(kFakeConnected, connected)}});
  if (with_service && !path.empty()) AddFakeInterface({kFakeGattServiceClass, FakeGattServiceInstanceId(address), {}});
  return path;
}

void RemoveFakeBleDevice(const std::wstring& address) {
  RemoveFakeDevice(FakeBleDeviceInstanceId(address));
  RemoveFakeDevice(FakeGattServiceInstanceId(address));
}
