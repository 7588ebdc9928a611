// The family name written in the file of the font that GDI realises for a font handle.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

// The English family name (name record 1) of the font file behind `font` as GDI selects it
// into `dc`, or an empty string. A face that GDI substitutes (a font replacement) shows here
// under the name of the font actually used, which is the only name GDI+ knows it by.
std::wstring FontFileFamilyName(HDC dc, HFONT font);

}  // namespace ui
