#include <algorithm>
#include <map>

#include "resources/GlobalManager.h"
#include "image/ImageInfo.h"
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

std::unique_ptr<ImageInfo> Load(const std::wstring& path) {
  std::unique_ptr<ImageInfo> image;
  if (GlobalManager::IsUseZip())
    image = ImageInfo::LoadImage(GlobalManager::GetZipData(path), path);
  if (!image) image = ImageInfo::LoadImage(path);
  return image;
}

}  // namespace

std::shared_ptr<ImageInfo> GlobalManager::GetImage(const std::wstring& path) {
  const std::wstring key = CacheKey(path);
  if (std::shared_ptr<ImageInfo> cached = FindCached(key)) return cached;
  std::unique_ptr<ImageInfo> loaded = Load(key);
  if (!loaded) return nullptr;
  std::shared_ptr<ImageInfo> image(loaded.release(), ReleaseCachedImage);
  Cache()[key] = image;
  image->cached = true;
  return image;
}

std::shared_ptr<ImageInfo> GlobalManager::GetCachedImage(const std::wstring& path) {
  return FindCached(CacheKey(path));
}

}  // namespace ui
