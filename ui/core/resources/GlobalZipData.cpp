#include "resources/GlobalManager.h"

#include <cwchar>

#include "archive/ZipApi.h"
#include "system/SkinLog.h"
#include "text/TextUtils.h"

namespace ui {
namespace {

// One line for an entry that is there but cannot be read.
void LogUnreadEntry(const std::wstring& name, uint32_t result) {
  wchar_t code[16];
  _snwprintf(code, 16, L"0x%08X", result);
  code[15] = L'\0';
  std::wstring line = L"Archive entry " + name + L" not read (result " + code + L")";
  if (result == kZipBadLocalHeader)
    line += L": its headers disagree or it holds more than " +
            std::to_wstring(kZipMaxEntrySize) + L" bytes";
  LogSkinProblem(line);
}

}  // namespace

bool GlobalManager::IsUseZip() { return ResourceZip() != nullptr; }

std::wstring GlobalManager::GetZipFilePath(const std::wstring& path) {
  std::wstring name = path;
  ReplaceAll(L"\\", L"/", name);
  ReplaceAll(L"//", L"/", name);
  size_t i = 0;
  while (i < name.size()) {
    if (i > 0 && name[i - 1] != L'/') {
      ++i;
    } else if (name[i] == L'/') {
      name.erase(i, 1);
    } else if (name.compare(i, 2, L"./") == 0) {
      name.erase(i, 2);
    } else if (name.compare(i, 3, L"../") == 0) {
      // Drops the element before the step; a leading step has none and goes alone.
      name.erase(i, 2);
      const size_t slash = i >= 2 ? name.rfind(L'/', i - 2) : std::wstring::npos;
      const size_t start = slash == std::wstring::npos ? 0 : slash;
      name.erase(start, i - start);
      i = start;
    } else {
      ++i;
    }
  }
  return name;
}

HGLOBAL GlobalManager::GetZipData(const std::wstring& path) {
  const std::wstring name = GetZipFilePath(path);
  ZipHandle* zip = ResourceZip();
  if (!zip || name.empty()) return nullptr;
  if (zip->kind != kUnzipperHandle) {
    LastZipResult() = kZipNotUnzipHandle;
    return nullptr;
  }
  int index = -1;
  ZipEntry entry;
  LastZipResult() = FindZipEntry(zip->unzipper.get(), name, index, entry);
  if (LastZipResult() != kZipOk || index < 0) {
    if (LastZipResult() != kZipNotFound) LogUnreadEntry(name, LastZipResult());
    return nullptr;
  }
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_NODISCARD, entry.uncompressed_size);
  if (!block) return nullptr;
  void* bytes = GlobalLock(block);
  if (!bytes) {
    GlobalFree(block);
    return nullptr;
  }
  LastZipResult() = ReadZipEntry(zip->unzipper.get(), index, bytes, entry.uncompressed_size);
  GlobalUnlock(block);
  if (LastZipResult() != kZipOk) {
    LogUnreadEntry(name, LastZipResult());
    GlobalFree(block);
    return nullptr;
  }
  return block;
}

}  // namespace ui
