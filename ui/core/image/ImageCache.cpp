#include <windows.h>

#include <algorithm>
#include <map>

#include "resources/GlobalManager.h"
#include "image/ImageBudget.h"
#include "image/ImageInfo.h"
#include "image/ImagePrefetch.h"
#include "text/TextUtils.h"

namespace ui {
namespace {

// Shorter paths first; equal lengths compare from the last character backwards.
struct ImagePathOrder {
  bool operator()(const std::wstring& a, const std::wstring& b) const {
    if (a.size() != b.size()) return a.size() < b.size();
    return std::lexicographical_compare(a.rbegin(), a.rend(), b.rbegin(), b.rend());
  }
};

using ImageCacheMap = std::map<std::wstring, std::weak_ptr<ImageInfo>, ImagePathOrder>;

ImageCacheMap& Cache() {
  static ImageCacheMap cache;
  return cache;
}

void ReleaseCachedImage(ImageInfo* image) {
  if (image->cached && !image->path.empty()) Cache().erase(image->path);
  delete image;
}

std::shared_ptr<ImageInfo> FindCached(const std::wstring& key) {
  const ImageCacheMap& cache = Cache();
  auto found = cache.find(key);
  return found == cache.end() ? nullptr : found->second.lock();
}

std::shared_ptr<ImageInfo> Loaded(std::shared_ptr<ImageInfo> entry) {
  return entry && !entry->failed ? entry : nullptr;
}

// The archive matches ASCII letters in any case.
std::wstring ArchiveKey(const std::wstring& path) {
  std::wstring key = GlobalManager::GetZipFilePath(path);
  for (wchar_t& c : key)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return key;
}

// Windows names one file by any letter case and by ".\" and "..\" steps.
std::wstring DiskKey(const std::wstring& path) {
  std::wstring key = path;
  const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length > 0) {
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), length, &full[0], nullptr);
    if (written > 0 && written < length) key = full.substr(0, written);
  }
  if (!key.empty()) CharLowerBuffW(&key[0], static_cast<DWORD>(key.size()));
  return key;
}

// One key for every spelling of an image: the archive's entry name while one is open.
std::wstring CacheKey(const std::wstring& path) {
  const std::wstring normal = NormalizeFilePath(path);
  return GlobalManager::IsUseZip() ? ArchiveKey(normal) : DiskKey(normal);
}

// The archive entry of the key while an archive is open; null for a disk file.
HGLOBAL ArchiveData(const std::wstring& key) {
  return GlobalManager::IsUseZip() ? GlobalManager::GetZipData(key) : nullptr;
}

}  // namespace

std::shared_ptr<ImageInfo> GlobalManager::GetImageEntry(const std::wstring& path) {
  const std::wstring key = CacheKey(path);
  if (std::shared_ptr<ImageInfo> cached = FindCached(key)) return cached;
  ImagePrefetcher& prefetcher = ImagePrefetcher::Instance();
  std::unique_ptr<ImageInfo> loaded;
  if (!prefetcher.Take(key, loaded)) {
    // Images decoded ahead give way to one that is drawn when the budget runs short.
    if (ImageBudget::PixelsInUse() > ImageBudget::kMaxTotalPixels - ImageBudget::kMaxPixels)
      prefetcher.DropUntaken();
    loaded = ImageInfo::LoadImageOrFile(ArchiveData(key), key);
  }
  if (!loaded) {
    loaded = std::make_unique<ImageInfo>();
    loaded->path = key;
    loaded->failed = true;
  }
  std::shared_ptr<ImageInfo> image(loaded.release(), ReleaseCachedImage);
  Cache()[key] = image;
  image->cached = true;
  return image;
}

std::shared_ptr<ImageInfo> GlobalManager::GetImage(const std::wstring& path) {
  return Loaded(GetImageEntry(path));
}

void GlobalManager::PrefetchImage(const std::wstring& path) {
  ImagePrefetcher& prefetcher = ImagePrefetcher::Instance();
  if (!prefetcher.IsRunning()) return;
  const std::wstring key = CacheKey(path);
  if (FindCached(key) || prefetcher.IsRequested(key)) return;
  prefetcher.Request(key, ArchiveData(key));
}

std::shared_ptr<ImageInfo> GlobalManager::GetCachedImage(const std::wstring& path) {
  return Loaded(FindCached(CacheKey(path)));
}

}  // namespace ui
