#include "BleGattApi.h"

namespace {

template <typename Function>
void Resolve(HMODULE module, const char* name, Function* entry) {
  *entry = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool BleGattApi::IsComplete() const {
  return getServices && getCharacteristics && getDescriptors && setCharacteristicValue &&
         registerEvent && unregisterEvent;
}

BleGattApi LoadSystemBleGatt() {
  BleGattApi api{};
  const HMODULE module = LoadLibraryW(L"BluetoothApis.dll");
  if (module == nullptr) return api;
  Resolve(module, "BluetoothGATTGetServices", &api.getServices);
  Resolve(module, "BluetoothGATTGetCharacteristics", &api.getCharacteristics);
  Resolve(module, "BluetoothGATTGetDescriptors", &api.getDescriptors);
  Resolve(module, "BluetoothGATTSetCharacteristicValue", &api.setCharacteristicValue);
  Resolve(module, "BluetoothGATTRegisterEvent", &api.registerEvent);
  Resolve(module, "BluetoothGATTUnregisterEvent", &api.unregisterEvent);
  return api;
}

BleGattApi& BleGatt() {
  static BleGattApi current = LoadSystemBleGatt();
  return current;
}
