#include "DeviceEnumeration.h"

#include <devpropdef.h>
#include <setupapi.h>

#include <cwchar>
#include <memory>

#include "WaveInApi.h"

const GUID kKelvaneGattService = {
    0x00010203, 0x0405, 0x0607, {0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x19, 0x11}};

namespace {

const GUID kHidInterfaceClass = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
const GUID kBluetoothLeDeviceInterfaceClass = {
    0x781AEE18, 0x7733, 0x4CE4, {0xAD, 0xD0, 0x91, 0xF4, 0x1C, 0x67, 0xB5, 0x92}};

const DEVPROPKEY kFriendlyName = {
    {0xA45C254E, 0xDF1C, 0x4EFD, {0x80, 0x20, 0x67, 0xD1, 0x46, 0xA8, 0x50, 0xE0}}, 14};
const DEVPROPKEY kBluetoothAddress = {
    {0x2BD67D8B, 0x8BEB, 0x48D5, {0x87, 0xE0, 0x6C, 0xDA, 0x34, 0x28, 0x04, 0x0A}}, 1};
const DEVPROPKEY kConnected = {
    {0x83DA6326, 0x97A6, 0x4088, {0x94, 0x53, 0xA1, 0x92, 0x3F, 0x57, 0x3B, 0x29}}, 15};

constexpr DWORD kPropertyBufferBytes = 2048;

// One SetupAPI list of present interfaces of a class, destroyed with the object.
class PresentInterfaces {
 public:
  explicit PresentInterfaces(const GUID& interface_class)
      : class_(interface_class),
        set_(SetupDiGetClassDevsW(&interface_class, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE)) {}
  ~PresentInterfaces() {
    if (valid()) SetupDiDestroyDeviceInfoList(set_);
  }
  PresentInterfaces(const PresentInterfaces&) = delete;
  PresentInterfaces& operator=(const PresentInterfaces&) = delete;

  bool valid() const { return set_ != INVALID_HANDLE_VALUE; }
  HDEVINFO set() const { return set_; }

  // Calls visit(path, device) for each interface until it returns false. An interface
  // whose size query succeeds is skipped; the walk ends at the end of the list or when a
  // detail cannot be read.
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (DWORD index = 0;; ++index) {
      SP_DEVICE_INTERFACE_DATA interface_data{};
      interface_data.cbSize = sizeof(interface_data);
      if (!SetupDiEnumDeviceInterfaces(set_, nullptr, &class_, index, &interface_data)) return;
      DWORD size = 0;
      if (SetupDiGetDeviceInterfaceDetailW(set_, &interface_data, nullptr, 0, &size, nullptr)) continue;
      if (GetLastError() == ERROR_NO_MORE_ITEMS || size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return;
      std::unique_ptr<BYTE[]> buffer(new BYTE[size]());
      auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.get());
      detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
      SP_DEVINFO_DATA device{};
      device.cbSize = sizeof(device);
      if (!SetupDiGetDeviceInterfaceDetailW(set_, &interface_data, detail, size, nullptr, &device)) return;
      const size_t path_chars = (size - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / sizeof(wchar_t);
      const std::wstring path(detail->DevicePath, wcsnlen(detail->DevicePath, path_chars));
      if (!visit(path, device)) return;
    }
  }

 private:
  GUID class_;
  HDEVINFO set_;
};

enum class PropertyRead { kRead, kMissing, kTooLarge };

// Reads one device property into bytes (cleared first, so a failed read leaves nothing of
// an earlier one).
PropertyRead ReadProperty(HDEVINFO set, SP_DEVINFO_DATA* device, const DEVPROPKEY& key, std::vector<BYTE>* bytes) {
  bytes->assign(kPropertyBufferBytes, 0);
  DEVPROPTYPE type = 0;
  DWORD size = 0;
  if (!SetupDiGetDevicePropertyW(set, device, &key, &type, bytes->data(), kPropertyBufferBytes, &size, 0)) {
    const bool too_large = GetLastError() == ERROR_INSUFFICIENT_BUFFER;
    bytes->clear();
    return too_large ? PropertyRead::kTooLarge : PropertyRead::kMissing;
  }
  bytes->resize(size < kPropertyBufferBytes ? size : kPropertyBufferBytes);
  return PropertyRead::kRead;
}

std::wstring TextOf(const std::vector<BYTE>& bytes) {
  const auto* text = reinterpret_cast<const wchar_t*>(bytes.data());
  return std::wstring(text, wcsnlen(text, bytes.size() / sizeof(wchar_t)));
}

}  // namespace

void EnumWaveInNames(std::vector<std::wstring>* names) {
  const UINT count = WaveIn().GetNumDevs();
  for (UINT id = 0; id < count; ++id) {
    WAVEINCAPSW caps{};
    if (WaveIn().GetDevCaps(id, &caps, sizeof(caps)) != MMSYSERR_NOERROR) continue;
    names->emplace_back(caps.szPname, wcsnlen(caps.szPname, MAXPNAMELEN));
  }
}

std::wstring FindControlDevicePath() {
  PresentInterfaces interfaces(kHidInterfaceClass);
  if (!interfaces.valid()) return std::wstring();
  std::wstring found;
  interfaces.ForEach([&](const std::wstring& path, SP_DEVINFO_DATA&) {
    unsigned short vendor = 0, product = 0, interface_number = 0;
    if (swscanf(path.c_str(), L"%*[^#]#vid_%hx&pid_%hx&mi_%hx", &vendor, &product, &interface_number) == 3 &&
        vendor == 0xE4A9 && product == 0x507C && interface_number == 5) {
      found = path;
      return false;
    }
    return true;
  });
  return found;
}

void EnumBleDevices(std::vector<BleDeviceInfo>* devices) {
  PresentInterfaces interfaces(kBluetoothLeDeviceInterfaceClass);
  if (!interfaces.valid()) return;
  interfaces.ForEach([&](const std::wstring& path, SP_DEVINFO_DATA& device) {
    std::vector<BYTE> name, address, connected;
    for (auto [key, bytes] : {std::pair{&kFriendlyName, &name}, {&kBluetoothAddress, &address}, {&kConnected, &connected}}) {
      if (ReadProperty(interfaces.set(), &device, *key, bytes) == PropertyRead::kTooLarge) return false;
    }
    devices->push_back({TextOf(name), path, TextOf(address), !connected.empty() && connected[0] != 0 ? 1 : 0});
    return true;
  });
}

std::wstring FindGattServicePath(const GUID& service, const std::wstring& address) {
  PresentInterfaces interfaces(service);
  if (!interfaces.valid()) return std::wstring();
  std::wstring found;
  interfaces.ForEach([&](const std::wstring& path, SP_DEVINFO_DATA&) {
    const size_t marker = path.find(L"_rev&");
    // The marker, four revision digits and an underscore come before the 12 address digits.
    if (marker != std::wstring::npos && path.size() >= marker + 22 &&
        _wcsicmp(path.substr(marker + 10, 12).c_str(), address.c_str()) == 0) {
      found = path;
      return false;
    }
    return true;
  });
  return found;
}
