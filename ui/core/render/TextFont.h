// The GDI+ font that draws a registered font.
#pragma once

#include <memory>
#include <optional>

#include "render/GdiPlusFlat.h"

namespace ui {

// Made once per registered font and kept with it (FontInfo), since GDI+ takes a lookup
// through the installed fonts for every font it makes. Render contexts are all
// screen-compatible, so the font made on one serves them all.
class TextFont {
 public:
  // The font through its wide LOGFONT, so that any face name survives whatever the ANSI code
  // page; a face GDI+ does not know (one that GDI substitutes) by the family of the font file
  // GDI uses for it. Null when GDI+ knows it by neither.
  static std::unique_ptr<TextFont> Create(HDC dc, HFONT handle);

  ~TextFont();
  TextFont(const TextFont&) = delete;
  TextFont& operator=(const TextFont&) = delete;

  GpFont* get() const { return font_; }

  // The height of one unwrapped line of the font, measured by `measure` on first use.
  template <typename Measure>
  REAL LineHeight(Measure measure) {
    if (!line_height_) line_height_ = measure();
    return *line_height_;
  }

 private:
  explicit TextFont(GpFont* font) : font_(font) {}

  GpFont* font_;
  std::optional<REAL> line_height_;
};

}  // namespace ui
