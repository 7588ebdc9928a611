// What decoded images may take, far above any skin image (a full 8K screen is 33,177,600
// pixels): one image or animation, checked on its encoded bytes before any decoder sees them,
// and all decoded images of the process together. Images past a budget are drawn as missing.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace ui {

class ImageBudget {
 public:
  static constexpr uint64_t kMaxPixels = uint64_t{1} << 25;       // 128 MiB decoded
  static constexpr size_t kMaxFrames = 1024;
  static constexpr uint64_t kMaxTotalPixels = uint64_t{1} << 26;  // 256 MiB decoded

  // The pixels a decode of the image in `block` makes at most, from its headers (every frame of
  // an animation; the canvas of a GIF holds its logical screen and each frame's extent). An
  // animation keeps the frames that fit in kMaxPixels and kMaxFrames together: `block` then
  // ends after the last of them. 0, with one log line, for an image above the budget or in a
  // format other than PNG, GIF, JPEG, BMP and ICO/CUR.
  static uint64_t PlanDecode(HGLOBAL& block, const std::wstring& path);

  // Takes `pixels` from the process's total; false, with one log line, when they do not fit.
  static bool Reserve(uint64_t pixels, const std::wstring& path);

  // While one lives, the decodes of its thread are made ahead of their use: together with what
  // is decoded they fill at most half the total, and a refusal is no log line (the image is
  // decoded when it is drawn).
  class DecodingAhead {
   public:
    DecodingAhead();
    ~DecodingAhead();
    DecodingAhead(const DecodingAhead&) = delete;
    DecodingAhead& operator=(const DecodingAhead&) = delete;
    bool refused() const { return refused_; }

   private:
    friend class ImageBudget;
    DecodingAhead* previous_;
    bool refused_ = false;
  };
  static void Release(uint64_t pixels);
  static uint64_t PixelsInUse();
};

}  // namespace ui
