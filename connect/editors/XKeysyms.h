#pragma once
// X key symbols to Windows virtual keys, so that keys captured through an X keyboard
// grab take the same road as those of a Windows keyboard hook.
#include <cstdint>

// keycode: the X keycode, which alone tells the ISO key beside left Shift from Shift+comma.
// 0 for a key without a virtual key.
std::uint32_t vk_from_x_key(std::uint32_t keysym, std::uint32_t keycode);
