#pragma once

#include <string>

namespace base {

// printf into a new wide string; %s takes a wide string. Empty when the text would
// exceed 32 Mi characters or cannot be formatted.
std::wstring StringPrintf(const wchar_t* format, ...);

}  // namespace base
