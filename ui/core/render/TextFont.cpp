#include "render/TextFont.h"

#include <cwchar>
#include <string>

#include "render/FontFileFamily.h"

namespace ui {
namespace {

GpFont* FontFromLogfont(HDC dc, const LOGFONTW& logfont) {
  GpFont* font = nullptr;
  // A failed call may leave a freed font in its result.
  return GdipCreateFontFromLogfontW(dc, &logfont, &font) == Ok ? font : nullptr;
}

}  // namespace

std::unique_ptr<TextFont> TextFont::Create(HDC dc, HFONT handle) {
  LOGFONTW logfont = {};
  if (!GetObjectW(handle, sizeof(logfont), &logfont)) return nullptr;
  GpFont* font = FontFromLogfont(dc, logfont);
  if (!font) {
    const std::wstring family = FontFileFamilyName(dc, handle);
    if (family.empty() || family.size() >= LF_FACESIZE) return nullptr;
    wcscpy(logfont.lfFaceName, family.c_str());
    font = FontFromLogfont(dc, logfont);
  }
  return font ? std::unique_ptr<TextFont>(new TextFont(font)) : nullptr;
}

TextFont::~TextFont() { GdipDeleteFont(font_); }

}  // namespace ui
