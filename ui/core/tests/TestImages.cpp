#include "TestImages.h"

#include <zlib.h>

namespace {

void AppendBigEndian32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xff);
}

void AppendChunk(std::string& png, const char* type, const std::string& data) {
  AppendBigEndian32(png, static_cast<uint32_t>(data.size()));
  const std::string body = std::string(type, 4) + data;
  png += body;
  AppendBigEndian32(png, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                                     static_cast<uInt>(body.size()))));
}

void AppendLittle16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xff);
  out += static_cast<char>(v >> 8);
}

}  // namespace

std::string MakePng(int width, int height, const std::vector<uint32_t>& argb) {
  std::string raw;
  for (int y = 0; y < height; ++y) {
    raw += '\0';  // filter: none
    for (int x = 0; x < width; ++x) {
      const uint32_t p = argb[y * width + x];
      raw += static_cast<char>((p >> 16) & 0xff);
      raw += static_cast<char>((p >> 8) & 0xff);
      raw += static_cast<char>(p & 0xff);
      raw += static_cast<char>(p >> 24);
    }
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::string compressed(size, '\0');
  compress(reinterpret_cast<Bytef*>(compressed.data()), &size,
           reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()));
  compressed.resize(size);

  std::string header;
  AppendBigEndian32(header, static_cast<uint32_t>(width));
  AppendBigEndian32(header, static_cast<uint32_t>(height));
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8-bit RGBA
  std::string png = "\x89PNG\r\n\x1a\n";
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", compressed);
  AppendChunk(png, "IEND", "");
  return png;
}

std::string MakeAnimatedGif(const std::vector<uint16_t>& delays) {
  std::string gif = "GIF89a";
  AppendLittle16(gif, 1);
  AppendLittle16(gif, 1);
  gif += std::string("\x80\x00\x00", 3);              // global table of two colours
  gif += std::string("\x00\x00\x00\xff\xff\xff", 6);  // black, white
  gif += std::string("\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19);  // loop forever
  for (size_t i = 0; i < delays.size(); ++i) {
    gif += std::string("\x21\xf9\x04\x00", 4);  // graphic control: delay follows
    AppendLittle16(gif, delays[i]);
    gif += std::string("\x00\x00", 2);
    gif += '\x2c';
    AppendLittle16(gif, 0);
    AppendLittle16(gif, 0);
    AppendLittle16(gif, 1);
    AppendLittle16(gif, 1);
    gif += '\0';
    // LZW, minimum code size 2: clear, pixel (0 or 1), end.
    gif +=
        (i % 2) ? std::string("\x02\x02\x4c\x01\x00", 5) : std::string("\x02\x02\x44\x01\x00", 5);
  }
  gif += '\x3b';
  return gif;
}

std::string PngAnnouncing(uint32_t width, uint32_t height) {
  std::string png = MakePng(1, 1, {0xFF000000});
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<char>(width >> (8 * (3 - i)));
    png[20 + i] = static_cast<char>(height >> (8 * (3 - i)));
  }
  return png;
}
