#pragma once
// Key codes of the two worlds the key editors join: Windows virtual keys (what keyboard
// hooks deliver) and usages of the HID keyboard page (what the ZY5 stores), and the
// names shown for keys. Only the low 8 bits of an argument are looked at.
#include <QString>

#include <cstdint>

// Both directions answer kNoKey for a code without a row.
constexpr std::uint8_t kNoKey = 0;

std::uint8_t vk_to_hid_usage(unsigned vkey);
std::uint8_t hid_usage_to_vk(unsigned usage);
QString vk_key_name(unsigned vkey);
