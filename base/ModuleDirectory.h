#pragma once

#include <string>

namespace base {

// The folder of the module holding this code, with its trailing separator.
std::wstring GetCurrentModuleDirectory();

// The part of a path up to and including its last separator ('\' or '/'); empty when
// there is none after the first character.
std::wstring DirectoryOfPath(const std::wstring& path);

}  // namespace base
