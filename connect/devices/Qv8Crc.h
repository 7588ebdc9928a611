#pragma once
// The QV8 receiver's report checksum, CRC-8/MAXIM (Dallas 1-Wire): polynomial 0x31
// processed reflected (0x8C), initial value 0, no final XOR. Header-only so that the
// simulated receiver checks reports with the same rule.
#include <cstddef>
#include <cstdint>

namespace qv8 {

constexpr std::uint8_t crc8(const std::uint8_t *data, std::size_t len)
{
    std::uint8_t crc = 0;
    for (std::size_t i = 0; i < len; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? std::uint8_t((crc >> 1) ^ 0x8C) : std::uint8_t(crc >> 1);
    }
    return crc;
}

} // namespace qv8
