// A registered font.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace ui {

class TextFont;

struct FontInfo {
  HFONT handle = nullptr;
  std::wstring face_name;  // after the "system" substitution
  int size = 0;            // pixel height after DPI scaling
  bool bold = false;
  bool underline = false;
  bool italic = false;
  TEXTMETRICW metrics = {};
  std::unique_ptr<TextFont> text_font;  // made by the render layer on its first use
};

}  // namespace ui
