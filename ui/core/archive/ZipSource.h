// Bounded byte reader over an archive held in memory; reads are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ui {

class ZipSource {
 public:
  ZipSource(const uint8_t* data, uint64_t size) : data_(data), size_(size) {}

  uint64_t Size() const { return size_; }
  // False, with the position unchanged, for a position past the end.
  bool Seek(uint64_t position);
  // Exactly `count` bytes or false; a short read is an error.
  bool Read(void* out, uint64_t count);
  bool ReadU8(uint8_t& value) { return Read(&value, 1); }
  bool ReadU16(uint16_t& value);
  bool ReadU32(uint32_t& value);

 private:
  const uint8_t* data_;
  uint64_t size_;
  uint64_t position_ = 0;
};

}  // namespace ui
