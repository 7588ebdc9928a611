// The BLE device through a GATT table and a SetupAPI table standing in for the system's.
#include "BLEDevice.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <thread>
#include <vector>

#include "BleGattApi.h"
#include "SetupApi.h"
#include "TraceCapture.h"

namespace {

constexpr GUID kService = {0x00010203, 0x0405, 0x0607, {0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x19, 0x11}};
constexpr GUID kControl = {0x00010203, 0x0405, 0x0607, {0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x2b, 0x19}};
constexpr GUID kMicrophone = {0x00010203, 0x0405, 0x0607, {0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x2b, 0x18}};
constexpr GUID kOther = {0x00002a00, 0x0000, 0x1000, {0x80, 0x00, 0x00, 0x80, 0x5f, 0x9b, 0x34, 0xfb}};
const GUID kControlIds[2] = {kService, kControl};

constexpr HRESULT kMoreData = HRESULT_FROM_WIN32(ERROR_MORE_DATA);
constexpr HRESULT kNoDescriptors = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);

BTH_LE_UUID LongUuid(const GUID& id) {
  BTH_LE_UUID uuid{};
  uuid.Value.LongUuid = id;
  return uuid;
}

// BluetoothApis.dll in tests: one service, scripted characteristics and results.
struct FakeGatt {
  struct Characteristic {
    GUID id;
    HRESULT descriptors;
  };
  struct Written {
    GUID characteristic;
    ULONG flags;
    std::vector<unsigned char> data;
  };

  FakeGatt() {
    current = this;
    BleGatt() = {GetServices, GetCharacteristics, GetDescriptors, SetCharacteristicValue,
                 RegisterEvent, UnregisterEvent};
  }
  ~FakeGatt() {
    BleGatt() = BleGattApi{};  // never the system's: Wine's GATT functions end the process
    current = nullptr;
  }

  // Delivers a value change on a thread of its own, as the Bluetooth stack does.
  void Notify(const std::vector<unsigned char>& bytes) {
    std::vector<unsigned char> storage(offsetof(BTH_LE_GATT_CHARACTERISTIC_VALUE, Data) + bytes.size() + 1);
    auto* value = reinterpret_cast<BTH_LE_GATT_CHARACTERISTIC_VALUE*>(storage.data());
    value->DataSize = static_cast<ULONG>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), value->Data);
    BLUETOOTH_GATT_VALUE_CHANGED_EVENT event{};
    event.CharacteristicValueDataSize = bytes.size();
    event.CharacteristicValue = value;
    std::thread([&] { callback(CharacteristicValueChangedEvent, &event, context); }).join();
  }

  static HRESULT WINAPI GetServices(HANDLE, USHORT count, BTH_LE_GATT_SERVICE* services,
                                    USHORT* actual, ULONG) {
    *actual = 1;
    if (services == nullptr || count < 1) return kMoreData;
    services[0].ServiceUuid = LongUuid(kService);
    services[0].AttributeHandle = 0x10;
    return current->servicesResult;
  }
  static HRESULT WINAPI GetCharacteristics(HANDLE, BTH_LE_GATT_SERVICE* service, USHORT count,
                                           BTH_LE_GATT_CHARACTERISTIC* characteristics,
                                           USHORT* actual, ULONG) {
    const auto& scripted = current->characteristics;
    *actual = static_cast<USHORT>(scripted.size());
    if (characteristics == nullptr) return kMoreData;
    for (USHORT i = 0; i < count && i < scripted.size(); ++i) {
      characteristics[i] = BTH_LE_GATT_CHARACTERISTIC{};
      characteristics[i].ServiceHandle = service->AttributeHandle;
      characteristics[i].CharacteristicUuid = LongUuid(scripted[i].id);
      characteristics[i].AttributeHandle = static_cast<USHORT>(0x20 + i);
    }
    *actual = static_cast<USHORT>(*actual + current->extraCharacteristicsReported);
    return S_OK;
  }
  static HRESULT WINAPI GetDescriptors(HANDLE, BTH_LE_GATT_CHARACTERISTIC* characteristic, USHORT,
                                       BTH_LE_GATT_DESCRIPTOR*, USHORT* actual, ULONG) {
    *actual = 0;
    current->descriptorQueries.push_back(characteristic->CharacteristicUuid.Value.LongUuid);
    return current->characteristics[characteristic->AttributeHandle - 0x20].descriptors;
  }
  static HRESULT WINAPI SetCharacteristicValue(HANDLE, BTH_LE_GATT_CHARACTERISTIC* characteristic,
                                               BTH_LE_GATT_CHARACTERISTIC_VALUE* value,
                                               BTH_LE_GATT_RELIABLE_WRITE_CONTEXT, ULONG flags) {
    current->writes.push_back({characteristic->CharacteristicUuid.Value.LongUuid, flags,
                               {value->Data, value->Data + value->DataSize}});
    return S_OK;
  }
  static HRESULT WINAPI RegisterEvent(HANDLE, BTH_LE_GATT_EVENT_TYPE type, PVOID registration,
                                      PFNBLUETOOTH_GATT_EVENT_CALLBACK callback, PVOID context,
                                      BLUETOOTH_GATT_EVENT_HANDLE* eventHandle, ULONG) {
    if (FAILED(current->registerResult)) return current->registerResult;
    const auto* changed = static_cast<BLUETOOTH_GATT_VALUE_CHANGED_EVENT_REGISTRATION*>(registration);
    EXPECT_EQ(type, CharacteristicValueChangedEvent);
    EXPECT_EQ(changed->NumCharacteristics, 1);
    current->registered.push_back(changed->Characteristics[0].CharacteristicUuid.Value.LongUuid);
    current->callback = callback;
    current->context = context;
    *eventHandle = reinterpret_cast<BLUETOOTH_GATT_EVENT_HANDLE>(0xE0);
    return S_OK;
  }
  static HRESULT WINAPI UnregisterEvent(BLUETOOTH_GATT_EVENT_HANDLE eventHandle, ULONG) {
    EXPECT_EQ(eventHandle, reinterpret_cast<BLUETOOTH_GATT_EVENT_HANDLE>(0xE0));
    ++current->unregistrations;
    return S_OK;
  }

  static FakeGatt* current;
  std::vector<Characteristic> characteristics = {{kOther, kMoreData}, {kControl, kMoreData}};
  int extraCharacteristicsReported = 0;
  HRESULT servicesResult = S_OK;
  HRESULT registerResult = S_OK;

  std::vector<GUID> descriptorQueries;
  std::vector<GUID> registered;
  int unregistrations = 0;
  std::vector<Written> writes;
  PFNBLUETOOTH_GATT_EVENT_CALLBACK callback = nullptr;
  PVOID context = nullptr;
};
FakeGatt* FakeGatt::current = nullptr;

// A file standing in for the device interface path.
class DeviceFile {
 public:
  DeviceFile() {
    wchar_t folder[MAX_PATH], name[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"ble", 0, name);
    path_ = name;
  }
  ~DeviceFile() { DeleteFileW(path_.c_str()); }
  std::string Path() const { return std::string(path_.begin(), path_.end()); }
  // True when no one else holds the file open.
  bool IsFree() const {
    const HANDLE exclusive = CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (exclusive == INVALID_HANDLE_VALUE) return false;
    CloseHandle(exclusive);
    return true;
  }

 private:
  std::wstring path_;
};

class BLEDeviceTest : public ::testing::Test {
 protected:
  BLEDeviceTest() {
    descriptor.set_path(file.Path());
    device.SetDescriptor(&descriptor);
    device.SetGattIds(kControlIds);
    device.SetOpenedCallback([this](CDevice*) { return ++opened; });
    device.SetClosedCallback([this](CDevice*) { ++closed; });
    device.SetDataCallback([this](CDevice*, unsigned char* bytes, unsigned long size) {
      data.emplace_back(bytes, bytes + size);
      return 1;
    });
  }
  void TearDown() override { device.Close(); }

  TraceCapture trace;
  FakeGatt gatt;
  DeviceFile file;
  ORVANE::Config::DeviceDescriptor descriptor;
  int opened = 0;
  int closed = 0;
  std::vector<std::vector<unsigned char>> data;
  CBLEDevice device{4};
};

TEST_F(BLEDeviceTest, RegistrationFindsTheCharacteristicOrFails) {
  struct Case {
    const char* what;
    std::vector<FakeGatt::Characteristic> characteristics;
    int extraReported;
    HRESULT registerResult;
    int expected;
    std::wstring line;
  };
  const Case cases[] = {
      {"target present", {{kOther, kMoreData}, {kControl, kMoreData}}, 0, S_OK, 1,
       L"CBLEDevice BluetoothGATTRegisterEvent OK"},
      {"target missing", {{kOther, kMoreData}, {kMicrophone, kMoreData}}, 0, S_OK, 0,
       L"CBLEDevice Characteristic not found"},
      {"target after a characteristic without descriptors",
       {{kOther, kNoDescriptors}, {kControl, kMoreData}}, 0, S_OK, 1,
       L"CBLEDevice BluetoothGATTRegisterEvent OK"},
      {"target without descriptors", {{kControl, kNoDescriptors}}, 0, S_OK, 1,
       L"CBLEDevice BluetoothGATTRegisterEvent OK"},
      {"descriptor query fails", {{kControl, E_FAIL}}, 0, S_OK, 0,
       L"CBLEDevice ERROR_MORE_DATA, BluetoothGATTGetDescriptors return: -2147467259"},
      {"counts differ", {{kOther, kMoreData}, {kControl, kMoreData}}, 1, S_OK, 0,
       L"CBLEDevice buffer size and buffer size actual size mismatch"},
      {"registration refused", {{kControl, kMoreData}}, 0, E_ACCESSDENIED, 0,
       L"CBLEDevice BluetoothGATTRegisterEvent return: -2147024891"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gatt.characteristics = c.characteristics;
    gatt.extraCharacteristicsReported = c.extraReported;
    gatt.registerResult = c.registerResult;
    gatt.descriptorQueries.clear();
    gatt.registered.clear();
    opened = 0;

    EXPECT_EQ(device.Open(), c.expected);
    EXPECT_TRUE(trace.Has(kTraceError, c.line));
    EXPECT_EQ(opened, c.expected);
    for (const GUID& queried : gatt.descriptorQueries) EXPECT_TRUE(IsEqualGUID(queried, kControl));
    if (c.expected == 1) {
      ASSERT_EQ(gatt.registered.size(), 1u);
      EXPECT_TRUE(IsEqualGUID(gatt.registered[0], kControl));
      EXPECT_TRUE(trace.Has(kTraceNormal, L"BLE opened successfully."));
    } else {
      EXPECT_TRUE(file.IsFree());
    }
    device.Close();
  }
}

TEST_F(BLEDeviceTest, WithoutTheGattFunctionsOpenFails) {
  BleGatt() = BleGattApi{};
  EXPECT_EQ(device.Open(), 0);
  EXPECT_TRUE(trace.Has(kTraceError, L"CBLEDevice BluetoothApis.dll GATT functions unavailable"));
  EXPECT_TRUE(file.IsFree());
}

TEST_F(BLEDeviceTest, MissingPathFailsToOpen) {
  descriptor.set_path("C:\\missing\\ble-device");
  EXPECT_EQ(device.Open(), 0);
  EXPECT_TRUE(trace.Has(kTraceError, L"CBLEDevice Fail to open BLE:C:\\missing\\ble-device"));
}

TEST_F(BLEDeviceTest, NotificationsReachTheDataCallbackAndEmptyOnesAreIgnored) {
  ASSERT_EQ(device.Open(), 1);
  std::vector<unsigned char> press(16, 0);
  press[0] = 0xB0;
  press[1] = 0x01;
  gatt.Notify(press);
  gatt.Notify({});
  EXPECT_EQ(data, std::vector<std::vector<unsigned char>>{press});
}

TEST_F(BLEDeviceTest, WritesUpTo252BytesGoOutWithoutResponse) {
  ASSERT_EQ(device.Open(), 1);
  for (unsigned long length : {16ul, 128ul, 252ul}) {
    SCOPED_TRACE(length);
    std::vector<unsigned char> report(length, static_cast<unsigned char>(length));
    report[0] = 0x02;
    gatt.writes.clear();
    EXPECT_EQ(device.Write(report.data(), length), int(length));
    ASSERT_EQ(gatt.writes.size(), 1u);
    EXPECT_EQ(gatt.writes[0].flags, BLUETOOTH_GATT_FLAG_WRITE_WITHOUT_RESPONSE);
    EXPECT_EQ(gatt.writes[0].data, report);
    EXPECT_TRUE(IsEqualGUID(gatt.writes[0].characteristic, kControl));
  }
  gatt.writes.clear();
  std::vector<unsigned char> tooLong(253, 0x02);
  EXPECT_EQ(device.Write(tooLong.data(), 253), 0);
  EXPECT_TRUE(gatt.writes.empty());
}

TEST_F(BLEDeviceTest, CloseEndsTheRegistrationAndReportsOnce) {
  ASSERT_EQ(device.Open(), 1);
  EXPECT_EQ(device.Close(), 1);
  EXPECT_EQ(device.Close(), 1);
  EXPECT_EQ(gatt.unregistrations, 1);
  EXPECT_EQ(closed, 1);
  EXPECT_TRUE(file.IsFree());
  const unsigned char report[16] = {0x02};
  EXPECT_EQ(device.Write(report, 16), 0);

  ASSERT_EQ(device.Open(), 1);  // a reopen registers afresh
  EXPECT_EQ(gatt.registered.size(), 2u);
}

TEST_F(BLEDeviceTest, CloseOfANeverOpenedDeviceReportsNothing) {
  EXPECT_EQ(device.Close(), 1);
  EXPECT_EQ(closed, 0);
  EXPECT_EQ(gatt.unregistrations, 0);
}

}  // namespace
