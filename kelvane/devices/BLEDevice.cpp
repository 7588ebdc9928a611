#include "BLEDevice.h"

#include <algorithm>
#include <cstddef>
#include <new>

#include "BleDeviceList.h"
#include "TraceMessage.h"
#include "tessik/TessikService.h"

namespace {

constexpr HRESULT kMoreData = HRESULT_FROM_WIN32(ERROR_MORE_DATA);
constexpr HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);

bool IsLongUuid(const BTH_LE_UUID& uuid, const GUID& id) {
  return !uuid.IsShortUuid && IsEqualGUID(uuid.Value.LongUuid, id);
}

// A characteristic value with room for the longest write.
struct WriteValue {
  ULONG DataSize;
  UCHAR Data[CBLEDevice::kMaxWriteBytes];
};
static_assert(offsetof(WriteValue, Data) == offsetof(BTH_LE_GATT_CHARACTERISTIC_VALUE, Data));

}  // namespace

CBLEDevice::CBLEDevice(int type) : CDevice(type) {}

CBLEDevice::~CBLEDevice() { Release(); }

std::wstring CBLEDevice::Path() const {
  return descriptor_ ? CTessikService::StringToWString(descriptor_->path()) : std::wstring();
}

int CBLEDevice::SetGattIds(const GUID ids[2]) {
  serviceId_ = ids[0];
  characteristicId_ = ids[1];
  return 1;
}

int CBLEDevice::Open() {
  TraceMessage(kTraceNormal, L"CBLEDevice Open BLE Device ...");
  {
    std::lock_guard<std::mutex> lock(lock_);
    if (handle_ != INVALID_HANDLE_VALUE) {
      TraceMessage(kTraceError, L"CBLEDevice BLE is already opened, try later...");
      return 1;
    }
    const HANDLE handle = CreateFileW(Path().c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      TraceMessage(kTraceError, L"CBLEDevice Fail to open BLE:%s", Path().c_str());
      return 0;
    }
    if (!RegisterEvent(handle)) {
      CloseHandle(handle);
      return 0;
    }
    handle_ = handle;
  }
  TraceMessage(kTraceNormal, L"BLE opened successfully.");
  NotifyOpened();
  return 1;
}

bool CBLEDevice::RegisterEvent(HANDLE handle) {
  TraceMessage(kTraceDebug, L"CBLEDevice _RegisterEvent(%#x)...",
               static_cast<unsigned>(reinterpret_cast<UINT_PTR>(handle)));
  if (!BleGatt().IsComplete()) {
    TraceMessage(kTraceError, L"CBLEDevice BluetoothApis.dll GATT functions unavailable");
    return false;
  }
  if (!FetchServices(handle) || !FetchCharacteristics(handle)) return false;
  for (USHORT i = 0; i < characteristicCount_; ++i) {
    BTH_LE_GATT_CHARACTERISTIC* characteristic = &characteristics_[i];
    if (IsLongUuid(characteristic->CharacteristicUuid, characteristicId_)) {
      return RegisterCharacteristic(handle, characteristic);
    }
  }
  TraceMessage(kTraceError, L"CBLEDevice Characteristic not found");
  return false;
}

bool CBLEDevice::FetchServices(HANDLE handle) {
  USHORT count = 0;
  BleGatt().getServices(handle, 0, nullptr, &count, BLUETOOTH_GATT_FLAG_NONE);
  services_.reset(new (std::nothrow) BTH_LE_GATT_SERVICE[count]());
  serviceCount_ = 0;
  if (!services_) {
    TraceMessage(kTraceError, L"CBLEDevice pServiceBuffer out of memory");
    return false;
  }
  USHORT actual = 0;
  const HRESULT result =
      BleGatt().getServices(handle, count, services_.get(), &actual, BLUETOOTH_GATT_FLAG_NONE);
  if (FAILED(result)) {
    TraceMessage(kTraceError, L"CBLEDevice BluetoothGATTGetServices return: %d", result);
    return false;
  }
  serviceCount_ = std::min(count, actual);
  return true;
}

// The characteristics of the first service reported.
bool CBLEDevice::FetchCharacteristics(HANDLE handle) {
  characteristicCount_ = 0;
  registered_ = nullptr;
  if (serviceCount_ == 0) {
    characteristics_.reset();
    return true;
  }
  BTH_LE_GATT_SERVICE* service = &services_[0];
  USHORT count = 0;
  BleGatt().getCharacteristics(handle, service, 0, nullptr, &count, BLUETOOTH_GATT_FLAG_NONE);
  characteristics_.reset(new (std::nothrow) BTH_LE_GATT_CHARACTERISTIC[count]());
  if (!characteristics_) {
    TraceMessage(kTraceError, L"CBLEDevice pCharBuffer out of memory");
    return false;
  }
  USHORT actual = 0;
  const HRESULT result = BleGatt().getCharacteristics(handle, service, count, characteristics_.get(),
                                                      &actual, BLUETOOTH_GATT_FLAG_NONE);
  if (FAILED(result)) {
    TraceMessage(kTraceError, L"CBLEDevice BluetoothGATTGetCharacteristics return: %d", result);
    return false;
  }
  if (actual != count) {
    TraceMessage(kTraceError, L"CBLEDevice buffer size and buffer size actual size mismatch");
    return false;
  }
  characteristicCount_ = count;
  return true;
}

bool CBLEDevice::RegisterCharacteristic(HANDLE handle, BTH_LE_GATT_CHARACTERISTIC* characteristic) {
  // A characteristic may have no descriptors at all.
  USHORT descriptorCount = 0;
  const HRESULT descriptors = BleGatt().getDescriptors(handle, characteristic, 0, nullptr,
                                                       &descriptorCount, BLUETOOTH_GATT_FLAG_NONE);
  if (descriptors != kMoreData && descriptors != kNotFound && descriptors != S_OK) {
    TraceMessage(kTraceError, L"CBLEDevice ERROR_MORE_DATA, BluetoothGATTGetDescriptors return: %d",
                 descriptors);
    return false;
  }
  TraceMessage(kTraceDebug, L"CBLEDevice Start register listener...");
  BLUETOOTH_GATT_VALUE_CHANGED_EVENT_REGISTRATION registration{};
  registration.NumCharacteristics = 1;
  registration.Characteristics[0] = *characteristic;
  BLUETOOTH_GATT_EVENT_HANDLE eventHandle = INVALID_HANDLE_VALUE;
  const HRESULT result =
      BleGatt().registerEvent(handle, CharacteristicValueChangedEvent, &registration,
                              &CBLEDevice::OnValueChanged, this, &eventHandle,
                              BLUETOOTH_GATT_FLAG_NONE);
  if (FAILED(result)) {
    TraceMessage(kTraceError, L"CBLEDevice BluetoothGATTRegisterEvent return: %d", result);
    return false;
  }
  eventHandle_ = eventHandle;
  registered_ = characteristic;
  TraceMessage(kTraceError, L"CBLEDevice BluetoothGATTRegisterEvent OK");
  return true;
}

void CALLBACK CBLEDevice::OnValueChanged(BTH_LE_GATT_EVENT_TYPE, PVOID eventOut, PVOID context) {
  const auto* event = static_cast<BLUETOOTH_GATT_VALUE_CHANGED_EVENT*>(eventOut);
  BTH_LE_GATT_CHARACTERISTIC_VALUE* value = event ? event->CharacteristicValue : nullptr;
  if (value == nullptr || value->DataSize == 0) return;
  static_cast<CBLEDevice*>(context)->NotifyData(value->Data, value->DataSize);
}

bool CBLEDevice::Release() {
  BLUETOOTH_GATT_EVENT_HANDLE eventHandle;
  HANDLE handle;
  {
    std::lock_guard<std::mutex> lock(lock_);
    eventHandle = eventHandle_;
    handle = handle_;
    eventHandle_ = INVALID_HANDLE_VALUE;
    handle_ = INVALID_HANDLE_VALUE;
    registered_ = nullptr;
  }
  if (eventHandle != INVALID_HANDLE_VALUE) {
    BleGatt().unregisterEvent(eventHandle, BLUETOOTH_GATT_FLAG_NONE);
  }
  if (handle == INVALID_HANDLE_VALUE) return false;
  CloseHandle(handle);
  return true;
}

int CBLEDevice::Close() {
  if (Release()) NotifyClosed();
  return 1;
}

int CBLEDevice::Write(const unsigned char* bytes, unsigned long length) {
  if (length > kMaxWriteBytes) {
    TraceMessage(kTraceError, L"CBLEDevice Write refused: %lu bytes, at most %lu", length,
                 kMaxWriteBytes);
    return 0;
  }
  WriteValue value{};
  value.DataSize = length;
  std::copy_n(bytes, length, value.Data);
  std::lock_guard<std::mutex> lock(lock_);
  if (registered_ == nullptr) return 0;
  const HRESULT result = BleGatt().setCharacteristicValue(
      handle_, registered_, reinterpret_cast<BTH_LE_GATT_CHARACTERISTIC_VALUE*>(&value), 0,
      BLUETOOTH_GATT_FLAG_WRITE_WITHOUT_RESPONSE);
  return SUCCEEDED(result) ? static_cast<int>(length) : 0;
}

int CBLEDevice::Check() {
  const std::wstring name =
      descriptor_ ? CTessikService::StringToWString(descriptor_->name()) : std::wstring();
  for (const BleDeviceRecord& record : ListBleDevices()) {
    if (record.connected && record.identifyingText == name) return 1;
  }
  return 0;
}
