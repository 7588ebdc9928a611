#include "base/ModuleDirectory.h"

#include <windows.h>

namespace base {
namespace {

// The module that holds this code: the allocation base of one of its functions.
HMODULE CurrentModule() {
  MEMORY_BASIC_INFORMATION info{};
  VirtualQuery(reinterpret_cast<const void*>(&CurrentModule), &info, sizeof(info));
  return static_cast<HMODULE>(info.AllocationBase);
}

// Grows the buffer while the name comes back cut short.
std::wstring ModuleFileName(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::wstring GetCurrentModuleDirectory() { return DirectoryOfPath(ModuleFileName(CurrentModule())); }

std::wstring DirectoryOfPath(const std::wstring& path) {
  const size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos || separator == 0) return std::wstring();
  return path.substr(0, separator + 1);
}

}  // namespace base
