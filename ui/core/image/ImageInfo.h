// One decoded image, shared by every control that shows it: a 32-bit bitmap per frame.
#pragma once

#include <windows.h>

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

  static std::unique_ptr<ImageInfo> LoadImage(const std::wstring& path);
  // Takes ownership of `block` (a movable global block holding the encoded image).
  static std::unique_ptr<ImageInfo> LoadImage(HGLOBAL block, const std::wstring& path);

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
