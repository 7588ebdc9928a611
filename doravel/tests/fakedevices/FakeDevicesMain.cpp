// Adds or removes the fake devices that Doravel's lists show, for runs and screenshots:
//   FakeDevices add | remove
#include <cwchar>
#include <cstdio>

#include "FakeDeviceInterfaces.h"

namespace {

const wchar_t kControlInstance[] = L"7&138A9600&0&0000";
const wchar_t kBleAddress[] = L"e0d9a3b2c1f0";
const wchar_t kSecondBleAddress[] = L"f8f09e112233";

void RemoveAll() {
  RemoveFakeDevice(FakeHidInstanceId(L"VID_E4A9&PID_507C&MI_05", kControlInstance));
  RemoveFakeBleDevice(kBleAddress);
  RemoveFakeBleDevice(kSecondBleAddress);
}

// Replaces the devices a run in the same prefix added before.
bool AddAll() {
  RemoveAll();
  const bool hid = !AddFakeInterface({kFakeHidClass, FakeHidInstanceId(L"VID_E4A9&PID_507C&MI_05", kControlInstance), {}})
                        .empty();
  const bool ble = !AddFakeBleDevice(L"Tavri Vornix", kBleAddress, false, true).empty();
  const bool second = !AddFakeBleDevice(L"Tavri Ring", kSecondBleAddress, true, false).empty();
  return hid && ble && second;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && wcscmp(argv[1], L"add") == 0) return AddAll() ? 0 : 1;
  if (argc == 2 && wcscmp(argv[1], L"remove") == 0) {
    RemoveAll();
    return 0;
  }
  fwprintf(stderr, L"usage: FakeDevices add|remove\n");
  return 2;
}
