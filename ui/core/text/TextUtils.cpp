#include "text/TextUtils.h"

#include <windows.h>

namespace ui {

bool Utf8ToWide(const char* utf8, std::wstring& out) {
  out.clear();
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (length < 1) return false;
  out.resize(length);
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), length);
  out.resize(length - 1);
  return true;
}

bool MultiByteToWide(const std::string& text, std::wstring& out, unsigned code_page) {
  out.clear();
  if (text.empty()) return true;
  int size = static_cast<int>(text.size());
  int length = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  if (length < 1) return true;
  out.resize(length);
  MultiByteToWideChar(code_page, 0, text.data(), size, out.data(), length);
  return true;
}

bool WideToMultiByte(const std::wstring& text, std::string& out) {
  out.clear();
  if (text.empty()) return true;
  int size = static_cast<int>(text.size());
  int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length < 1) return true;
  out.resize(length);
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), length, nullptr, nullptr);
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

}  // namespace ui
