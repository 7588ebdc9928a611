// The parsed image attribute string: "file='a.png' corner='4,4,4,4' fade='128'" and the like.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

class ImageAttribute {
 public:
  ImageAttribute() { Init(); }

  void Init();
  // Applies the key='value' pairs of `text`; a bare file name sets nothing here.
  void ModifyAttribute(const std::wstring& text);

  std::wstring image_string;
  std::wstring file_name;
  RECT dest;
  RECT source;
  RECT corner;
  BYTE fade;
  bool xtiled;
  bool ytiled;
  int play_count;

 private:
  void Apply(const std::wstring& key, const std::wstring& value, bool& scale_dest);
};

// Four numbers separated by single characters; missing ones are 0.
RECT ParseRect(const std::wstring& value);

}  // namespace ui
