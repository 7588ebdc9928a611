#include "DeviceBroadcast.h"

#include <cstring>

namespace {

// DEV_BROADCAST_DEVICEINTERFACE_W: size, device type, reserved, class GUID, then the name.
constexpr std::size_t kSizeOffset = 0;
constexpr std::size_t kTypeOffset = 4;
constexpr std::size_t kNameOffset = 28;

std::uint32_t read_u32(const unsigned char *at)
{
    return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16
         | std::uint32_t(at[3]) << 24;
}

std::u16string read_name(const unsigned char *record, std::size_t record_size)
{
    std::u16string name;
    for (std::size_t at = kNameOffset; at + 2 <= record_size; at += 2) {
        const char16_t c = char16_t(record[at] | record[at + 1] << 8);
        if (c == 0)
            break;
        name.push_back(c);
    }
    return name;
}

} // namespace

DeviceChange parse_device_change(std::uintptr_t event, const unsigned char *record)
{
    DeviceChange change;
    if (record == nullptr || (event != kDbtDeviceArrival && event != kDbtDeviceRemoveComplete))
        return change;
    const std::uint32_t size = read_u32(record + kSizeOffset);
    if (size < kNameOffset || read_u32(record + kTypeOffset) != kDbtDevtypDeviceInterface)
        return change;
    change.kind = event == kDbtDeviceArrival ? DeviceChangeKind::Arrival : DeviceChangeKind::Removal;
    change.name = read_name(record, size);
    return change;
}
