#include "image/GifFrames.h"

#include <algorithm>
#include <cstring>

#include "image/ByteOrder.h"

namespace ui {
namespace {

constexpr size_t kHeaderSize = 13;  // signature, logical screen descriptor
constexpr size_t kImageDescriptorSize = 10;
constexpr uint8_t kExtension = 0x21;
constexpr uint8_t kImage = 0x2c;

size_t ColorTableBytes(uint8_t flags) { return (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0; }

// Skips a run of data sub-blocks and its terminator; false when the file ends first.
bool SkipSubBlocks(const uint8_t* data, size_t size, size_t& at) {
  while (at < size) {
    const size_t length = data[at];
    ++at;
    if (length == 0) return true;
    if (length > size - at) return false;
    at += length;
  }
  return false;
}

}  // namespace

std::vector<GifFrame> ReadGifFrames(const uint8_t* data, size_t size, size_t max_frames) {
  std::vector<GifFrame> frames;
  if (size < kHeaderSize ||
      (std::memcmp(data, "GIF87a", 6) != 0 && std::memcmp(data, "GIF89a", 6) != 0))
    return frames;
  ImageSize canvas{Little16(data + 6), Little16(data + 8)};
  size_t at = kHeaderSize + ColorTableBytes(data[10]);
  while (at < size && frames.size() < max_frames) {
    const uint8_t block = data[at];
    if (block == kExtension) {
      at += 2;  // introducer, label
      if (at > size || !SkipSubBlocks(data, size, at)) break;
    } else if (block == kImage) {
      if (size - at < kImageDescriptorSize) break;
      const uint8_t* descriptor = data + at + 1;
      canvas.width = std::max(canvas.width, Little16(descriptor) + Little16(descriptor + 4));
      canvas.height = std::max(canvas.height, Little16(descriptor + 2) + Little16(descriptor + 6));
      at += kImageDescriptorSize + ColorTableBytes(descriptor[8]) + 1;  // + LZW code size
      // A frame whose data is cut short still has its canvas made.
      const bool complete = at <= size && SkipSubBlocks(data, size, at);
      frames.push_back(GifFrame{canvas, complete ? at : size});
      if (!complete) break;
    } else {
      break;  // the trailer or a byte that starts no block
    }
  }
  return frames;
}

}  // namespace ui
