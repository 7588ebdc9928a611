#include "render/FontFileFamily.h"

#include <cstdint>
#include <vector>

namespace ui {
namespace {

constexpr DWORD kNameTable = 0x656D616E;  // "name", as GetFontData wants the tag
constexpr uint16_t kFamilyNameId = 1;
constexpr uint16_t kWindowsPlatform = 3;
constexpr uint16_t kEnglishUs = 0x0409;

uint16_t BigEndian16(const std::vector<BYTE>& bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

}  // namespace

std::wstring FontFileFamilyName(HDC dc, HFONT font) {
  HGDIOBJ previous = SelectObject(dc, font);
  std::vector<BYTE> table;
  const DWORD size = GetFontData(dc, kNameTable, 0, nullptr, 0);
  if (size != GDI_ERROR && size >= 6) {
    table.resize(size);
    if (GetFontData(dc, kNameTable, 0, table.data(), size) != size) table.clear();
  }
  SelectObject(dc, previous);
  if (table.empty()) return std::wstring();

  const size_t count = BigEndian16(table, 2);
  const size_t strings = BigEndian16(table, 4);
  std::wstring any_language;
  for (size_t record = 6; record + 12 <= table.size() && (record - 6) / 12 < count; record += 12) {
    if (BigEndian16(table, record) != kWindowsPlatform || BigEndian16(table, record + 6) != kFamilyNameId) continue;
    const size_t length = BigEndian16(table, record + 8);
    const size_t offset = strings + BigEndian16(table, record + 10);
    if (offset + length > table.size()) continue;
    std::wstring name;
    for (size_t at = offset; at + 1 < offset + length; at += 2) name += static_cast<wchar_t>(BigEndian16(table, at));
    if (BigEndian16(table, record + 4) == kEnglishUs) return name;
    if (any_language.empty()) any_language = name;
  }
  return any_language;
}

}  // namespace ui
