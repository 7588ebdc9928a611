#include "image/Image.h"

namespace ui {

void Image::SetImageString(const std::wstring& text) {
  ClearCache();
  attribute.Init();
  attribute.image_string = text;
  attribute.file_name = text;
  attribute.ModifyAttribute(text);
}

void Image::ClearCache() {
  image_cache.reset();
  current_frame = 0;
  playing = false;
  cycled_count = 0;
}

int Image::GetCurrentInterval() const {
  if (!image_cache || current_frame < 0 ||
      static_cast<size_t>(current_frame) >= image_cache->frame_delays.size() ||
      static_cast<size_t>(current_frame) >= image_cache->frames.size())
    return 0;
  const int delay = static_cast<int>(image_cache->frame_delays[current_frame]) * 10;
  if (delay < 30) return 100;
  if (delay < 50) return 50;
  return delay;
}

}  // namespace ui
