#include "image/ImageSizeProbe.h"

#include <cstdlib>
#include <cstring>

#include "image/ByteOrder.h"

namespace ui {
namespace {

bool StartsWith(const uint8_t* data, size_t size, const char* magic, size_t length) {
  return size >= length && std::memcmp(data, magic, length) == 0;
}

std::optional<ImageSize> Png(const uint8_t* data, size_t size) {
  if (size < 24 || std::memcmp(data + 12, "IHDR", 4) != 0) return std::nullopt;
  return ImageSize{Big32(data + 16), Big32(data + 20)};
}

std::optional<ImageSize> Gif(const uint8_t* data, size_t size) {
  if (size < 10) return std::nullopt;
  return ImageSize{Little16(data + 6), Little16(data + 8)};
}

std::optional<ImageSize> Bmp(const uint8_t* data, size_t size) {
  if (size < 26) return std::nullopt;
  if (Little32(data + 14) == 12) return ImageSize{Little16(data + 18), Little16(data + 20)};
  // The height is negative for a top-down bitmap.
  const long long width = static_cast<int32_t>(Little32(data + 18));
  const long long height = static_cast<int32_t>(Little32(data + 22));
  return ImageSize{static_cast<uint32_t>(std::llabs(width)),
                   static_cast<uint32_t>(std::llabs(height))};
}

// The first start-of-frame segment's size; segments before it are skipped by their lengths.
std::optional<ImageSize> Jpeg(const uint8_t* data, size_t size) {
  size_t at = 2;
  while (at + 4 <= size) {
    if (data[at] != 0xFF) return std::nullopt;
    const uint8_t marker = data[at + 1];
    if (marker == 0xFF) {
      ++at;  // fill byte
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
      at += 2;
      continue;
    }
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                       marker != 0xCC;
    if (frame) {
      if (at + 9 > size) return std::nullopt;
      return ImageSize{Big16(data + at + 7), Big16(data + at + 5)};
    }
    if (marker == 0xDA || marker == 0xD9) return std::nullopt;  // scan or end before a frame
    at += 2 + Big16(data + at + 2);
  }
  return std::nullopt;
}

// Every entry counts (the decoder may take any); an entry may hold a PNG of its own size.
std::optional<ImageSize> Icon(const uint8_t* data, size_t size) {
  if (size < 6) return std::nullopt;
  const size_t count = Little16(data + 4);
  if (count == 0 || 6 + count * 16 > size) return std::nullopt;
  ImageSize largest;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = data + 6 + i * 16;
    ImageSize entry_size{entry[0] ? entry[0] : 256u, entry[1] ? entry[1] : 256u};
    const uint32_t length = Little32(entry + 8);
    const uint32_t offset = Little32(entry + 12);
    if (offset < size && length <= size - offset &&
        StartsWith(data + offset, length, "\x89PNG\r\n\x1a\n", 8)) {
      const std::optional<ImageSize> embedded = Png(data + offset, length);
      if (!embedded) return std::nullopt;
      entry_size = *embedded;
    }
    if (entry_size.Pixels() > largest.Pixels()) largest = entry_size;
  }
  return largest;
}

}  // namespace

std::optional<ImageSize> ProbeImageSize(const uint8_t* data, size_t size) {
  if (StartsWith(data, size, "\x89PNG\r\n\x1a\n", 8)) return Png(data, size);
  if (StartsWith(data, size, "GIF87a", 6) || StartsWith(data, size, "GIF89a", 6))
    return Gif(data, size);
  if (StartsWith(data, size, "\xFF\xD8", 2)) return Jpeg(data, size);
  if (StartsWith(data, size, "BM", 2)) return Bmp(data, size);
  if (StartsWith(data, size, "\0\0\1\0", 4) || StartsWith(data, size, "\0\0\2\0", 4))
    return Icon(data, size);
  return std::nullopt;
}

}  // namespace ui
