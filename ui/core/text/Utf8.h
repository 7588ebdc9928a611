// UTF-8 <-> wide conversion for code that also builds off Windows (archive reader, XML parser).
#pragma once

#include <cstddef>
#include <string>

namespace ui {

// Invalid sequences become U+FFFD.
std::wstring Utf8BytesToWide(const char* bytes, size_t count);
std::string WideToUtf8Bytes(const std::wstring& text);

}  // namespace ui
