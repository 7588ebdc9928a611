// One drawable image of a control: its attributes, the shared decoded image and GIF progress.
#pragma once

#include <memory>

#include "image/ImageAttribute.h"
#include "image/ImageInfo.h"

namespace ui {

class Image {
 public:
  void SetImageString(const std::wstring& text);
  // Drops the decoded image; frame 0, not playing.
  void ClearCache();
  // Milliseconds the current frame stays; 0 for a still image.
  int GetCurrentInterval() const;

  ImageAttribute attribute;
  std::shared_ptr<ImageInfo> image_cache;
  int current_frame = 0;
  bool playing = false;
  int cycled_count = 0;
};

}  // namespace ui
