#include "BleDeviceList.h"

#include <vector>

#include "SetupApi.h"

namespace {

constexpr GUID kBluetoothLeDeviceInterface = {
    0x781AEE18, 0x7733, 0x4CE4, {0xAD, 0xD0, 0x91, 0xF4, 0x1C, 0x67, 0xB5, 0x92}};
constexpr DEVPROPKEY kFriendlyNameKey = {
    {0xA45C254E, 0xDF1C, 0x4EFD, {0x80, 0x20, 0x67, 0xD1, 0x46, 0xA8, 0x50, 0xE0}}, 14};
constexpr DEVPROPKEY kIdentifyingTextKey = {
    {0x2BD67D8B, 0x8BEB, 0x48D5, {0x87, 0xE0, 0x6C, 0xDA, 0x34, 0x28, 0x04, 0x0A}}, 1};
constexpr DEVPROPKEY kConnectedKey = {
    {0x83DA6326, 0x97A6, 0x4088, {0x94, 0x53, 0xA1, 0x92, 0x3F, 0x57, 0x3B, 0x29}}, 15};

constexpr DWORD kPropertyBufferSize = 2048;

// The interface's path and its device; false ends the list.
bool ReadInterfaceDetail(HDEVINFO list, SP_DEVICE_INTERFACE_DATA* interfaceData,
                         std::wstring* path, SP_DEVINFO_DATA* device) {
  DWORD required = 0;
  if (!Setup().getDeviceInterfaceDetail(list, interfaceData, nullptr, 0, &required, nullptr) &&
      GetLastError() == ERROR_NO_MORE_ITEMS) {
    return false;
  }
  if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return false;
  std::vector<unsigned char> buffer(required);
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  device->cbSize = sizeof(SP_DEVINFO_DATA);
  if (!Setup().getDeviceInterfaceDetail(list, interfaceData, detail, required, nullptr, device)) {
    return false;
  }
  *path = detail->DevicePath;
  return true;
}

// Reads one property into the buffer, left empty when the device lacks it; false when the
// value does not fit.
bool ReadProperty(HDEVINFO list, SP_DEVINFO_DATA* device, const DEVPROPKEY& key,
                  std::vector<BYTE>* buffer) {
  buffer->assign(kPropertyBufferSize, 0);
  DEVPROPTYPE type = 0;
  DWORD required = 0;
  if (Setup().getDeviceProperty(list, device, &key, &type, buffer->data(), kPropertyBufferSize,
                                &required, 0)) {
    buffer->resize(required);
    return true;
  }
  buffer->clear();
  return GetLastError() != ERROR_INSUFFICIENT_BUFFER;
}

std::wstring AsText(const std::vector<BYTE>& bytes) {
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

// Fills the record's properties; false when one does not fit.
bool ReadProperties(HDEVINFO list, SP_DEVINFO_DATA* device, BleDeviceRecord* record) {
  std::vector<BYTE> value;
  if (!ReadProperty(list, device, kFriendlyNameKey, &value)) return false;
  record->friendlyName = AsText(value);
  if (!ReadProperty(list, device, kIdentifyingTextKey, &value)) return false;
  record->identifyingText = AsText(value);
  if (!ReadProperty(list, device, kConnectedKey, &value)) return false;
  record->connected = !value.empty() && value[0] != 0;
  return true;
}

}  // namespace

std::vector<BleDeviceRecord> ListBleDevices() {
  std::vector<BleDeviceRecord> records;
  const HDEVINFO list = Setup().getClassDevs(&kBluetoothLeDeviceInterface, nullptr, nullptr,
                                             DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (list == INVALID_HANDLE_VALUE) return records;

  SP_DEVICE_INTERFACE_DATA interfaceData{};
  interfaceData.cbSize = sizeof(interfaceData);
  for (DWORD index = 0; Setup().enumDeviceInterfaces(list, nullptr, &kBluetoothLeDeviceInterface,
                                                     index, &interfaceData);
       ++index) {
    BleDeviceRecord record;
    SP_DEVINFO_DATA device{};
    if (!ReadInterfaceDetail(list, &interfaceData, &record.path, &device)) break;
    if (!ReadProperties(list, &device, &record)) break;
    records.push_back(std::move(record));
  }
  Setup().destroyDeviceInfoList(list);
  return records;
}
