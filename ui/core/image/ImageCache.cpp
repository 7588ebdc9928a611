#include <algorithm>
#include <map>

#include "resources/GlobalManager.h"
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

// Cache key of an image path: backslashes, and the archive's entry name while one is open.
std::wstring CacheKey(const std::wstring& path) {
  const std::wstring key = NormalizeFilePath(path);
  return GlobalManager::IsUseZip() ? GlobalManager::GetZipFilePath(key) : key;
}

// The archive entry of the key while an archive is open; null for a disk file.
HGLOBAL ArchiveData(const std::wstring& key) {
  return GlobalManager::IsUseZip() ? GlobalManager::GetZipData(key) : nullptr;
}

}  // namespace

std::shared_ptr<ImageInfo> GlobalManager::GetImage(const std::wstring& path) {
  const std::wstring key = CacheKey(path);
  if (std::shared_ptr<ImageInfo> cached = FindCached(key)) return cached;
  std::unique_ptr<ImageInfo> loaded;
  if (!ImagePrefetcher::Instance().Take(key, loaded))
    loaded = ImageInfo::LoadImageOrFile(ArchiveData(key), key);
  if (!loaded) return nullptr;
  std::shared_ptr<ImageInfo> image(loaded.release(), ReleaseCachedImage);
  Cache()[key] = image;
  image->cached = true;
  return image;
}

void GlobalManager::PrefetchImage(const std::wstring& path) {
  ImagePrefetcher& prefetcher = ImagePrefetcher::Instance();
  if (!prefetcher.IsRunning()) return;
  const std::wstring key = CacheKey(path);
  if (FindCached(key) || prefetcher.IsRequested(key)) return;
  prefetcher.Request(key, ArchiveData(key));
}

std::shared_ptr<ImageInfo> GlobalManager::GetCachedImage(const std::wstring& path) {
  return FindCached(CacheKey(path));
}

}  // namespace ui
