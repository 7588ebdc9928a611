#include "SkinArchive.h"

#include <windows.h>

#include "archive/ZipApi.h"

namespace {

constexpr int kThemeResourceId = 129;

}  // namespace

bool OpenSkinArchive() {
  if (ui::ResourceZip()) ui::CloseZip();
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(kThemeResourceId), L"THEME");
  if (!found) return false;
  HGLOBAL loaded = LoadResource(nullptr, found);
  const DWORD size = SizeofResource(nullptr, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data || size == 0) return false;
  // A resource of the running module stays mapped for the life of the process.
  ui::ResourceZip() = ui::OpenZip(data, size, "");
  return ui::ResourceZip() != nullptr;
}
