// Unsigned integers read from the bytes of an image file.
#pragma once

#include <cstdint>

namespace ui {

inline uint32_t Big16(const uint8_t* p) { return (p[0] << 8) | p[1]; }
inline uint32_t Big32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
inline uint32_t Little16(const uint8_t* p) { return p[0] | (p[1] << 8); }
inline uint32_t Little32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace ui
