// The pixel size an encoded image announces in its header, read before any decoder runs, so
// that an image too large for memory is refused unread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace ui {

struct ImageSize {
  uint32_t width = 0;
  uint32_t height = 0;
  uint64_t Pixels() const { return static_cast<uint64_t>(width) * height; }
};

// PNG, GIF, JPEG, BMP and ICO/CUR (the largest entry); empty for another format or a header
// cut short.
std::optional<ImageSize> ProbeImageSize(const uint8_t* data, size_t size);

}  // namespace ui
