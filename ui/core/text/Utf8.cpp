#include "text/Utf8.h"

#ifdef _WIN32
#include <windows.h>

#include "text/TextUtils.h"
#else
#include <codecvt>
#include <locale>
#endif

namespace ui {

#ifdef _WIN32

std::wstring Utf8BytesToWide(const char* bytes, size_t count) {
  std::wstring wide;
  MultiByteToWide(std::string(bytes, count), wide, CP_UTF8);
  return wide;
}

std::string WideToUtf8Bytes(const std::wstring& text) {
  std::string utf8;
  WideToMultiByte(text, utf8);
  return utf8;
}

#else

// wchar_t holds whole code points here.
using Converter = std::wstring_convert<std::codecvt_utf8<wchar_t> >;

std::wstring Utf8BytesToWide(const char* bytes, size_t count) {
  Converter converter("?", L"\uFFFD");
  return converter.from_bytes(bytes, bytes + count);
}

std::string WideToUtf8Bytes(const std::wstring& text) {
  Converter converter("?", L"\uFFFD");
  return converter.to_bytes(text);
}

#endif

}  // namespace ui
