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

  // A file above this is not read. The pixels are held to ImageBudget before any decoder runs.
  static constexpr uint64_t kMaxFileBytes = uint64_t{64} << 20;

  static std::unique_ptr<ImageInfo> LoadImage(const std::wstring& path);
  // For decoders outside this class: the file is within the byte budget and the pixel budget of
  // one image (one log line when not).
  static bool FileWithinBudget(const std::wstring& path);
  // Takes ownership of `block` (a movable global block holding the encoded image). The decoded
  // pixels are taken from the process's budget until the image is destroyed.
  static std::unique_ptr<ImageInfo> LoadImage(HGLOBAL block, const std::wstring& path);
  // The image in `block` (owned, may be null), else the file at `path`.
  static std::unique_ptr<ImageInfo> LoadImageOrFile(HGLOBAL block, const std::wstring& path);

  int width = 0;
  int height = 0;
  std::wstring path;
  bool alpha = false;
  bool cached = false;
  // A load that failed, remembered in the cache while anyone holds it: no frames, drawn as
  // missing, and not read again.
  bool failed = false;
  // Taken from ImageBudget's total by the decode, given back by the destructor.
  uint64_t budget_pixels = 0;
  // Per-frame delays in hundredths of a second; empty for a still image.
  std::vector<UINT> frame_delays;
  std::vector<HBITMAP> frames;
};

}  // namespace ui
