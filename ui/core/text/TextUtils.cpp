#include "text/TextUtils.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "text/Utf8.h"

namespace ui {

bool Utf8ToWide(const char* utf8, std::wstring& out) {
  out.clear();
  if (!utf8) return false;
  out = Utf8BytesToWide(utf8, std::strlen(utf8));
  return true;
}

bool MultiByteToWide(const std::string& text, std::wstring& out, unsigned code_page) {
  out.clear();
  if (code_page == CP_UTF8) {
    out = Utf8BytesToWide(text.data(), text.size());
    return true;
  }
  if (text.empty()) return true;
  int size = static_cast<int>(text.size());
  int length = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  if (length < 1) return true;
  out.resize(length);
  MultiByteToWideChar(code_page, 0, text.data(), size, out.data(), length);
  return true;
}

bool WideToMultiByte(const std::wstring& text, std::string& out) {
  out = WideToUtf8Bytes(text);
  return true;
}

std::list<std::wstring> SplitString(const std::wstring& text, const std::wstring& delimiters) {
  std::list<std::wstring> pieces;
  size_t start = text.find_first_not_of(delimiters);
  while (start != std::wstring::npos) {
    size_t end = text.find_first_of(delimiters, start);
    pieces.push_back(text.substr(start, end == std::wstring::npos ? end : end - start));
    start = text.find_first_not_of(delimiters, end);
  }
  return pieces;
}

int ReplaceAll(const std::wstring& find, const std::wstring& replacement, std::wstring& text) {
  if (find.empty() || text.empty()) return 0;
  int count = 0;
  for (size_t at = text.find(find); at != std::wstring::npos;
       at = text.find(find, at + replacement.size())) {
    text.replace(at, find.size(), replacement);
    ++count;
  }
  return count;
}

std::wstring NormalizeFilePath(const std::wstring& path) {
  std::wstring result = path;
  ReplaceAll(L"/", L"\\", result);
  ReplaceAll(L"\\\\", L"\\", result);
  return result;
}

std::wstring CutAtLength(const std::wstring& text, int length) {
  if (length <= 0) return std::wstring();
  size_t end = std::min(text.size(), static_cast<size_t>(length));
  if (end < text.size() && end > 0 && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) --end;
  return text.substr(0, end);
}

}  // namespace ui
