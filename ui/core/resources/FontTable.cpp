#include <map>
#include <memory>

#include "render/TextFont.h"
#include "system/DpiManager.h"
#include "system/WindowsVersion.h"
#include "resources/FontInfo.h"
#include "resources/GlobalManager.h"

namespace ui {
namespace {

struct FontTable {
  std::map<std::wstring, std::unique_ptr<FontInfo>> fonts;
  std::wstring default_font_id;
};

FontTable& Fonts() {
  static FontTable table;
  return table;
}

std::wstring ResolveFace(const std::wstring& face_name) {
  if (face_name != L"system") return face_name;
  static const bool vista_or_later = IsWindowsVersionAtLeast(6, 0);
  return vista_or_later ? L"微软雅黑" : L"新宋体";
}

}  // namespace

HFONT GlobalManager::AddFont(const std::wstring& font_id, const std::wstring& face_name, int size,
                             bool bold, bool underline, bool italic, bool is_default) {
  FontTable& table = Fonts();
  const std::wstring id = font_id.empty() ? std::to_wstring(table.fonts.size()) : font_id;
  auto registered = table.fonts.find(id);
  if (registered != table.fonts.end()) return registered->second->handle;

  const std::wstring face = ResolveFace(face_name);
  LOGFONTW logfont = {};
  if (face.size() >= LF_FACESIZE) return nullptr;  // would not fit lfFaceName
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logfont), &logfont);
  face.copy(logfont.lfFaceName, face.size());
  logfont.lfFaceName[face.size()] = 0;
  logfont.lfCharSet = DEFAULT_CHARSET;
  const int scaled_size = DpiManager::GetInstance()->ScaleInt(size);
  logfont.lfHeight = -scaled_size;
  if (bold) logfont.lfWeight += FW_BOLD;
  if (underline) logfont.lfUnderline = TRUE;
  if (italic) logfont.lfItalic = TRUE;
  HFONT handle = CreateFontIndirectW(&logfont);
  if (!handle) return nullptr;

  auto font = std::make_unique<FontInfo>();
  font->handle = handle;
  font->face_name = face;
  font->size = scaled_size;
  font->bold = bold;
  font->underline = underline;
  font->italic = italic;
  table.fonts.emplace(id, std::move(font));
  if (is_default) table.default_font_id = id;
  return handle;
}

FontInfo* GlobalManager::GetFont(const std::wstring& font_id) {
  FontTable& table = Fonts();
  auto found = table.fonts.find(font_id.empty() ? table.default_font_id : font_id);
  return found == table.fonts.end() ? nullptr : found->second.get();
}

void GlobalManager::RemoveAllFonts() {
  FontTable& table = Fonts();
  for (auto& [id, font] : table.fonts) DeleteObject(font->handle);
  table.fonts.clear();
}

std::wstring GlobalManager::GetDefaultFontName() { return std::wstring(); }

}  // namespace ui
