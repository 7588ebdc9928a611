// Small PNG and GIF files built by the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A 32-bit RGBA PNG; `argb` holds width x height pixels, rows top first.
std::string MakePng(int width, int height, const std::vector<uint32_t>& argb);
// A 1x1 GIF with one frame per delay (hundredths of a second), alternating black and white.
std::string MakeAnimatedGif(const std::vector<uint16_t>& delays);
// Frames of `width` x `height` pixels of one colour, 10 hundredths each, LZW-coded.
std::string MakeLargeAnimatedGif(uint16_t width, uint16_t height, int frames);
struct GifFrameSize {
  uint16_t width;
  uint16_t height;
};
// A logical screen and frames of other sizes at its top left corner, as MakeLargeAnimatedGif.
std::string MakeGif(uint16_t screen_width, uint16_t screen_height,
                    const std::vector<GifFrameSize>& frames);
// A 1x1 PNG whose header announces `width` x `height`: what a decoder would have to allocate.
std::string PngAnnouncing(uint32_t width, uint32_t height);
