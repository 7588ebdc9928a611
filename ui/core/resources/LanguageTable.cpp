#include "resources/LanguageTable.h"

#include <cstdio>
#include <list>
#include <memory>

#include "text/TextUtils.h"

namespace ui {
namespace {

constexpr int kLineBufferSize = 4096;

bool IsTrimmed(wchar_t c) { return c == L' ' || c < 30; }

std::wstring Trim(const std::wstring& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsTrimmed(text[begin])) ++begin;
  while (end > begin && IsTrimmed(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

LanguageTable* LanguageTable::GetInstance() {
  static LanguageTable table;
  return &table;
}

void LanguageTable::AddLine(const char* utf8_line) {
  std::wstring line;
  Utf8ToWide(utf8_line, line);
  line = Trim(line);
  if (line.empty()) return;
  const std::list<std::wstring> pieces = SplitString(line, L"=");
  if (pieces.size() != 2) return;
  const std::wstring id = Trim(pieces.front());
  if (id.find(L';') != std::wstring::npos) return;
  strings_[id] = Trim(pieces.back());
}

bool LanguageTable::LoadStringTable(const std::wstring& path) {
  strings_.clear();
  FILE* file = nullptr;
  if (_wfopen_s(&file, path.c_str(), L"r") != 0 || !file) return false;
  std::unique_ptr<FILE, int (*)(FILE*)> closer(file, fclose);
  char line[kLineBufferSize];
  while (fgets(line, kLineBufferSize, file)) AddLine(line);
  return true;
}

bool LanguageTable::LoadStringTable(HGLOBAL block) {
  const char* bytes = static_cast<const char*>(GlobalLock(block));
  if (!bytes) return true;
  const std::string text(bytes, GlobalSize(block));
  GlobalUnlock(block);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(std::string("\n\0", 2), start);
    if (end == std::string::npos) end = text.size();
    AddLine(text.substr(start, end - start).c_str());
    start = end + 1;
  }
  return true;
}

std::wstring LanguageTable::GetStringViaID(const std::wstring& id) const {
  auto found = strings_.find(id);
  if (id.empty() || found == strings_.end()) return std::wstring();
  std::wstring text = found->second;
  ReplaceAll(L"\\r", L"\r", text);
  ReplaceAll(L"\\n", L"\n", text);
  return text;
}

}  // namespace ui
