#include "resources/GlobalManager.h"
#include "text/TextUtils.h"
#include "archive/ZipApi.h"

namespace ui {

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
  if (LastZipResult() != kZipOk || index < 0) return nullptr;
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
    GlobalFree(block);
    return nullptr;
  }
  return block;
}

}  // namespace ui
