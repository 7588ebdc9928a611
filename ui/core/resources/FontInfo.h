// A registered font.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

struct FontInfo {
  HFONT handle = nullptr;
  std::wstring face_name;  // after the "system" substitution
  int size = 0;            // pixel height after DPI scaling
  bool bold = false;
  bool underline = false;
  bool italic = false;
  TEXTMETRICW metrics = {};
};

}  // namespace ui
