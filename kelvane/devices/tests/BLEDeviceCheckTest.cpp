// Presence of the configured BLE device, through a SetupAPI table with scripted interfaces.
#include "BLEDevice.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "SetupApi.h"

namespace {

constexpr GUID kBluetoothLeDeviceInterface = {
    0x781AEE18, 0x7733, 0x4CE4, {0xAD, 0xD0, 0x91, 0xF4, 0x1C, 0x67, 0xB5, 0x92}};
constexpr ULONG kFriendlyNamePid = 14;
constexpr ULONG kIdentifyingTextPid = 1;
constexpr ULONG kConnectedPid = 15;

struct Interface {
  std::wstring identifyingText;
  bool connected;
  bool oversizeName = false;  // a friendly name too long for the property buffer
};

// SetupAPI in tests: one list of BLE interfaces; counts lists not destroyed.
struct FakeSetup {
  FakeSetup() {
    current = this;
    Setup() = {GetClassDevs, EnumDeviceInterfaces, GetDeviceInterfaceDetail, GetDeviceProperty,
               DestroyDeviceInfoList};
  }
  ~FakeSetup() {
    Setup() = SystemSetup();
    current = nullptr;
  }

  static HDEVINFO WINAPI GetClassDevs(const GUID* classGuid, PCWSTR, HWND, DWORD flags) {
    EXPECT_TRUE(IsEqualGUID(*classGuid, kBluetoothLeDeviceInterface));
    EXPECT_EQ(flags, DWORD(DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    ++current->openLists;
    return reinterpret_cast<HDEVINFO>(0x7700);
  }
  static BOOL WINAPI EnumDeviceInterfaces(HDEVINFO, PSP_DEVINFO_DATA, const GUID*, DWORD index,
                                          PSP_DEVICE_INTERFACE_DATA data) {
    if (index >= current->interfaces.size()) {
      SetLastError(ERROR_NO_MORE_ITEMS);
      return FALSE;
    }
    data->Reserved = index;
    return TRUE;
  }
  static BOOL WINAPI GetDeviceInterfaceDetail(HDEVINFO, PSP_DEVICE_INTERFACE_DATA data,
                                              PSP_DEVICE_INTERFACE_DETAIL_DATA_W detail, DWORD size,
                                              PDWORD required, PSP_DEVINFO_DATA device) {
    const std::wstring path = L"\\\\?\\BTHLEDevice#" + std::to_wstring(data->Reserved);
    const DWORD needed = DWORD(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) +
                               (path.size() + 1) * sizeof(wchar_t));
    if (required) *required = needed;
    if (detail == nullptr || size < needed) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return FALSE;
    }
    wcscpy(detail->DevicePath, path.c_str());
    device->DevInst = DWORD(data->Reserved);
    return TRUE;
  }
  static BOOL WINAPI GetDeviceProperty(HDEVINFO, PSP_DEVINFO_DATA device, const DEVPROPKEY* key,
                                       DEVPROPTYPE* type, PBYTE buffer, DWORD size, PDWORD required,
                                       DWORD) {
    const Interface& found = current->interfaces[device->DevInst];
    std::vector<BYTE> value;
    if (key->pid == kConnectedPid) {
      *type = DEVPROP_TYPE_BOOLEAN;
      value = {static_cast<BYTE>(found.connected ? 0xFF : 0x00)};
    } else {
      *type = DEVPROP_TYPE_STRING;
      std::wstring text = key->pid == kIdentifyingTextPid ? found.identifyingText : L"Vornix";
      if (key->pid == kFriendlyNamePid && found.oversizeName) text.assign(1500, L'x');
      const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
      value.assign(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
    }
    *required = DWORD(value.size());
    if (value.size() > size) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return FALSE;
    }
    std::copy(value.begin(), value.end(), buffer);
    return TRUE;
  }
  static BOOL WINAPI DestroyDeviceInfoList(HDEVINFO) {
    --current->openLists;
    return TRUE;
  }

  static FakeSetup* current;
  std::vector<Interface> interfaces;
  int openLists = 0;
};
FakeSetup* FakeSetup::current = nullptr;

TEST(BLEDeviceCheck, FindsOnlyAConnectedDeviceWithTheExactName) {
  // "Vornix 蓝牙" as the settings hold it, in GBK.
  const std::wstring name = L"Vornix 蓝牙";
  struct Case {
    const char* what;
    std::vector<Interface> interfaces;
    int expected;
  };
  const Case cases[] = {
      {"paired, not connected", {{name, false}}, 0},
      {"connected, equal name", {{name, true}}, 1},
      {"connected, name differing in case", {{L"VORNIX 蓝牙", true}}, 0},
      {"connected after another device", {{L"Other", true}, {name, true}}, 1},
      {"after a property too large to read", {{L"Other", true, true}, {name, true}}, 0},
      {"no device", {}, 0},
  };
  ORVANE::Config::DeviceDescriptor descriptor;
  descriptor.set_name("Vornix \xC0\xB6\xD1\xC0");
  FakeSetup setup;
  CBLEDevice device(4);
  device.SetDescriptor(&descriptor);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    setup.interfaces = c.interfaces;
    EXPECT_EQ(device.Check(), c.expected);
    EXPECT_EQ(setup.openLists, 0);
  }
}

}  // namespace
