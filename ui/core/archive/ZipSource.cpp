#include "archive/ZipSource.h"

#include <cstring>

namespace ui {

bool ZipSource::Seek(uint64_t position) {
  if (position > size_) return false;
  position_ = position;
  return true;
}

bool ZipSource::Read(void* out, uint64_t count) {
  if (count > size_ - position_) return false;
  if (count) std::memcpy(out, data_ + position_, static_cast<size_t>(count));
  position_ += count;
  return true;
}

bool ZipSource::ReadU16(uint16_t& value) {
  uint8_t bytes[2];
  if (!Read(bytes, 2)) return false;
  value = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
  return true;
}

bool ZipSource::ReadU32(uint32_t& value) {
  uint8_t bytes[4];
  if (!Read(bytes, 4)) return false;
  value = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  return true;
}

}  // namespace ui
