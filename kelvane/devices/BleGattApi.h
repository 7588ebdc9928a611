// Bluetooth LE GATT types and the BluetoothApis.dll functions of the BLE devices, resolved
// at run time so the program starts on systems without them.
#pragma once

#include <windows.h>

#include <cstddef>

struct BTH_LE_UUID {
  BOOLEAN IsShortUuid;
  union {
    USHORT ShortUuid;
    GUID LongUuid;
  } Value;
};

struct BTH_LE_GATT_SERVICE {
  BTH_LE_UUID ServiceUuid;
  USHORT AttributeHandle;
};

struct BTH_LE_GATT_CHARACTERISTIC {
  USHORT ServiceHandle;
  BTH_LE_UUID CharacteristicUuid;
  USHORT AttributeHandle;
  USHORT CharacteristicValueHandle;
  BOOLEAN IsBroadcastable;
  BOOLEAN IsReadable;
  BOOLEAN IsWritable;
  BOOLEAN IsWritableWithoutResponse;
  BOOLEAN IsSignedWritable;
  BOOLEAN IsNotifiable;
  BOOLEAN IsIndicatable;
  BOOLEAN HasExtendedProperties;
};

enum BTH_LE_GATT_DESCRIPTOR_TYPE {
  CharacteristicExtendedProperties,
  CharacteristicUserDescription,
  ClientCharacteristicConfiguration,
  ServerCharacteristicConfiguration,
  CharacteristicFormat,
  CharacteristicAggregateFormat,
  CustomDescriptor
};

struct BTH_LE_GATT_DESCRIPTOR {
  USHORT ServiceHandle;
  USHORT CharacteristicHandle;
  BTH_LE_GATT_DESCRIPTOR_TYPE DescriptorType;
  BTH_LE_UUID DescriptorUuid;
  USHORT AttributeHandle;
};

// Variable length: DataSize bytes follow in Data.
struct BTH_LE_GATT_CHARACTERISTIC_VALUE {
  ULONG DataSize;
  UCHAR Data[1];
};

enum BTH_LE_GATT_EVENT_TYPE { CharacteristicValueChangedEvent };

// Variable length: NumCharacteristics entries.
struct BLUETOOTH_GATT_VALUE_CHANGED_EVENT_REGISTRATION {
  USHORT NumCharacteristics;
  BTH_LE_GATT_CHARACTERISTIC Characteristics[1];
};

struct BLUETOOTH_GATT_VALUE_CHANGED_EVENT {
  USHORT ChangedAttributeHandle;
  size_t CharacteristicValueDataSize;
  BTH_LE_GATT_CHARACTERISTIC_VALUE* CharacteristicValue;
};

using BLUETOOTH_GATT_EVENT_HANDLE = HANDLE;
using BTH_LE_GATT_RELIABLE_WRITE_CONTEXT = ULONG64;
using PFNBLUETOOTH_GATT_EVENT_CALLBACK = void(CALLBACK*)(BTH_LE_GATT_EVENT_TYPE type,
                                                         PVOID eventOut, PVOID context);

constexpr ULONG BLUETOOTH_GATT_FLAG_NONE = 0x00000000;
constexpr ULONG BLUETOOTH_GATT_FLAG_WRITE_WITHOUT_RESPONSE = 0x00000020;

struct BleGattApi {
  HRESULT(WINAPI* getServices)(HANDLE device, USHORT count, BTH_LE_GATT_SERVICE* services,
                               USHORT* actual, ULONG flags);
  HRESULT(WINAPI* getCharacteristics)(HANDLE device, BTH_LE_GATT_SERVICE* service, USHORT count,
                                      BTH_LE_GATT_CHARACTERISTIC* characteristics,
                                      USHORT* actual, ULONG flags);
  HRESULT(WINAPI* getDescriptors)(HANDLE device, BTH_LE_GATT_CHARACTERISTIC* characteristic,
                                  USHORT count, BTH_LE_GATT_DESCRIPTOR* descriptors,
                                  USHORT* actual, ULONG flags);
  HRESULT(WINAPI* setCharacteristicValue)(HANDLE device,
                                          BTH_LE_GATT_CHARACTERISTIC* characteristic,
                                          BTH_LE_GATT_CHARACTERISTIC_VALUE* value,
                                          BTH_LE_GATT_RELIABLE_WRITE_CONTEXT context, ULONG flags);
  HRESULT(WINAPI* registerEvent)(HANDLE service, BTH_LE_GATT_EVENT_TYPE type, PVOID registration,
                                 PFNBLUETOOTH_GATT_EVENT_CALLBACK callback, PVOID context,
                                 BLUETOOTH_GATT_EVENT_HANDLE* eventHandle, ULONG flags);
  HRESULT(WINAPI* unregisterEvent)(BLUETOOTH_GATT_EVENT_HANDLE eventHandle, ULONG flags);

  // All entries resolved.
  bool IsComplete() const;
};

// The table in use; loaded from BluetoothApis.dll at first use unless replaced. Entries the
// system lacks are null.
BleGattApi& BleGatt();

// BluetoothApis.dll's own entries, resolved by name; all null without the library.
BleGattApi LoadSystemBleGatt();
