// One decoded image, shared by every control that shows it: a 32-bit bitmap per frame.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class ImageInfo {
 public:
  ImageInfo() = default;
  ~ImageInfo();
  ImageInfo(const ImageInfo&) = delete;
  ImageInfo& operator=(const ImageInfo&) = delete;

  // Budgets far above any skin image (a full 8K screen is 33,177,600 pixels): an image that
  // announces more pixels is refused before it is decoded, a file above the byte budget is not
  // read, and an animation keeps the frames that fit in the pixel budget together.
  static constexpr uint64_t kMaxPixels = uint64_t{1} << 25;  // 128 MiB decoded
  static constexpr uint64_t kMaxFileBytes = uint64_t{64} << 20;

  static std::unique_ptr<ImageInfo> LoadImage(const std::wstring& path);
  // For decoders outside this class: the file is within the byte and pixel budgets (one log
  // line when not).
  static bool FileWithinBudget(const std::wstring& path);
  // Takes ownership of `block` (a movable global block holding the encoded image).
  static std::unique_ptr<ImageInfo> LoadImage(HGLOBAL block, const std::wstring& path);
  // The image in `block` (owned, may be null), else the file at `path`.
  static std::unique_ptr<ImageInfo> LoadImageOrFile(HGLOBAL block, const std::wstring& path);

  int width = 0;
  int height = 0;
  std::wstring path;
  bool alpha = false;
  bool cached = false;
  // Per-frame delays in hundredths of a second; empty for a still image.
  std::vector<UINT> frame_delays;
  std::vector<HBITMAP> frames;
};

}  // namespace ui
