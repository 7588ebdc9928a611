#include "TestImages.h"

#include <zlib.h>

#include <algorithm>

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

// LSB-first codes of growing width, as GIF image data wants them.
class CodeWriter {
 public:
  void Write(uint32_t code, int width) {
    bits_ |= static_cast<uint64_t>(code) << count_;
    for (count_ += width; count_ >= 8; count_ -= 8, bits_ >>= 8)
      bytes_ += static_cast<char>(bits_ & 0xff);
  }
  std::string Finish() {
    if (count_ > 0) bytes_ += static_cast<char>(bits_ & 0xff);
    return bytes_;
  }

 private:
  uint64_t bits_ = 0;
  int count_ = 0;
  std::string bytes_;
};

// LZW of `pixels` pixels of colour 0 (minimum code size 2): each code covers one pixel more
// than the one before, the table starting over when it is full.
std::string ConstantFrameLzw(uint64_t pixels) {
  constexpr uint32_t kClear = 4, kEnd = 5, kFirst = 6, kFull = 4095;
  CodeWriter out;
  int width = 3;
  uint32_t next = kFirst;
  uint64_t longest = 1;  // the longest run the table holds
  out.Write(kClear, width);
  while (pixels > 0) {
    const uint64_t run = std::min(pixels, longest);
    out.Write(run == 1 ? 0 : static_cast<uint32_t>(kFirst + run - 2), width);
    pixels -= run;
    if (next >= (1u << width) && width < 12) ++width;
    if (pixels == 0) break;
    if (next >= kFull) {
      out.Write(kClear, width);
      width = 3;
      next = kFirst;
      longest = 1;
    } else {
      ++next;
      ++longest;
    }
  }
  out.Write(kEnd, width);
  return out.Finish();
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

std::string MakeGif(uint16_t screen_width, uint16_t screen_height,
                    const std::vector<GifFrameSize>& frames) {
  std::string gif = "GIF89a";
  AppendLittle16(gif, screen_width);
  AppendLittle16(gif, screen_height);
  gif += std::string("\x80\x00\x00", 3);
  gif += std::string("\x00\x00\x00\xff\xff\xff", 6);
  for (const GifFrameSize& frame : frames) {
    const uint64_t pixels = uint64_t{frame.width} * frame.height;
    // A decoder makes the frame before it reads its data: one above any budget (2^25 pixels)
    // carries a single pixel.
    const std::string data = ConstantFrameLzw(pixels <= (uint64_t{1} << 25) ? pixels : 1);
    gif += std::string("\x21\xf9\x04\x00\x0a\x00\x00\x00", 8);  // 10 hundredths
    gif += '\x2c';
    AppendLittle16(gif, 0);
    AppendLittle16(gif, 0);
    AppendLittle16(gif, frame.width);
    AppendLittle16(gif, frame.height);
    gif += '\0';
    gif += '\x02';
    for (size_t at = 0; at < data.size(); at += 255) {
      const size_t length = std::min<size_t>(255, data.size() - at);
      gif += static_cast<char>(length);
      gif += data.substr(at, length);
    }
    gif += '\0';
  }
  gif += '\x3b';
  return gif;
}

std::string MakeLargeAnimatedGif(uint16_t width, uint16_t height, int frames) {
  return MakeGif(width, height, std::vector<GifFrameSize>(frames, GifFrameSize{width, height}));
}
