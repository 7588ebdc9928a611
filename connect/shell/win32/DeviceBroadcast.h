#pragma once
// Reads the device-interface record that comes with WM_DEVICECHANGE.
// Plain C++ so that it is built and tested on every platform.
#include <cstdint>
#include <string>

enum class DeviceChangeKind { Ignored, Arrival, Removal };

struct DeviceChange {
    DeviceChangeKind kind = DeviceChangeKind::Ignored;
    std::u16string name;  // dbcc_name, without the terminating NUL
};

constexpr std::uintptr_t kDbtDeviceArrival = 0x8000;
constexpr std::uintptr_t kDbtDeviceRemoveComplete = 0x8004;
constexpr std::uint32_t kDbtDevtypDeviceInterface = 5;

// event: the message's wParam; record: its lParam (DEV_BROADCAST_HDR first), may be null.
// The name is read only within the record's own dbcc_size.
DeviceChange parse_device_change(std::uintptr_t event, const unsigned char *record);
