#include <windows.h>

#include <shlwapi.h>

#include <memory>
#include <vector>

#include "resources/GlobalManager.h"
#include "markup/XmlMarkup.h"
#include "system/SkinLimits.h"

namespace ui {
namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};

}  // namespace

bool XmlMarkup::LoadFromFile(const std::wstring& path) {
  Release();
  const std::wstring full_path =
      PathIsRelativeW(path.c_str()) ? GlobalManager::GetResourcePath() + path : path;
  HANDLE raw = CreateFileW(full_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return Fail(L"Error opening file", nullptr);
  std::unique_ptr<void, HandleCloser> file(raw);
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(raw, &size)) return Fail(L"Could not read file", nullptr);
  if (size.QuadPart == 0) return Fail(L"File is empty", nullptr);
  if (size.QuadPart > kMaxSkinFileBytes) return Fail(L"File too large", nullptr);
  std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!ReadFile(raw, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
      read != bytes.size())
    return Fail(L"Could not read file", nullptr);
  return LoadFromBytes(bytes.data(), bytes.size());
}

}  // namespace ui
