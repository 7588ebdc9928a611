// The frames of a GIF file as its blocks announce them, read without decoding: a decoder draws
// each frame on a canvas that holds the logical screen and every frame before it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/ImageSizeProbe.h"

namespace ui {

struct GifFrame {
  ImageSize canvas;  // the canvas up to this frame: logical screen and frame extents
  size_t end = 0;    // the offset just past the frame's blocks (the file's size when cut short)
};

// The first `max_frames` frames; the walk also ends at the trailer, at a block cut short and at
// a byte that starts no block. Empty for a file that is not a GIF.
std::vector<GifFrame> ReadGifFrames(const uint8_t* data, size_t size, size_t max_frames);

}  // namespace ui
