// The framework's one UTF-8 codec, the same on Windows and in the native sanitizer tree.
// Wide strings are UTF-16 where wchar_t has 16 bits (Windows) and code points elsewhere.
#pragma once

#include <cstddef>
#include <string>

namespace ui {

// Decodes `count` bytes into `out`, which has room for `count` characters (UTF-8 never yields
// more); returns the number written. Each invalid sequence (the longest start of a valid one,
// or a single byte) becomes one U+FFFD; overlong forms, encoded surrogates and code points above
// U+10FFFF are invalid.
size_t DecodeUtf8(const char* bytes, size_t count, wchar_t* out);
std::wstring Utf8BytesToWide(const char* bytes, size_t count);
// Unpaired surrogates and values that are no code point become U+FFFD.
std::string WideToUtf8Bytes(const std::wstring& text);

}  // namespace ui
