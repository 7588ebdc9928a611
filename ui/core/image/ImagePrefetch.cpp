#include "image/ImagePrefetch.h"

#include "image/ImageBudget.h"

namespace ui {

ImagePrefetcher& ImagePrefetcher::Instance() {
  static ImagePrefetcher prefetcher;
  return prefetcher;
}

void ImagePrefetcher::Start() {
  if (IsRunning()) return;
  stopping_ = false;
  worker_ = std::thread([this] { Work(); });
}

void ImagePrefetcher::Stop() {
  if (!IsRunning()) return;
  {
    std::lock_guard<std::mutex> hold(lock_);
    stopping_ = true;
  }
  changed_.notify_all();
  worker_.join();
  DropUntaken();
}

bool ImagePrefetcher::IsRequested(const std::wstring& key) {
  std::lock_guard<std::mutex> hold(lock_);
  auto found = pending_.find(key);
  return found != pending_.end() && !found->second.dropped;
}

void ImagePrefetcher::DropUntaken() {
  std::vector<HGLOBAL> blocks;
  std::vector<std::unique_ptr<ImageInfo>> images;
  {
    std::lock_guard<std::mutex> hold(lock_);
    for (auto entry = pending_.begin(); entry != pending_.end();) {
      Pending& request = entry->second;
      if (request.stage == Stage::kDecoding) {
        request.dropped = true;
        ++entry;
        continue;
      }
      if (request.block) blocks.push_back(request.block);
      images.push_back(std::move(request.image));
      entry = pending_.erase(entry);
    }
    queue_.clear();
  }
  for (HGLOBAL block : blocks) GlobalFree(block);
}

void ImagePrefetcher::Request(const std::wstring& key, HGLOBAL block) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    auto added = pending_.emplace(key, Pending{});
    if (!added.second) {
      if (block) GlobalFree(block);
      return;
    }
    added.first->second.block = block;
    queue_.push_back(key);
  }
  changed_.notify_all();
}

bool ImagePrefetcher::Take(const std::wstring& key, std::unique_ptr<ImageInfo>& image) {
  std::unique_lock<std::mutex> hold(lock_);
  auto found = pending_.find(key);
  if (found == pending_.end() || found->second.dropped) return false;
  if (found->second.stage == Stage::kQueued) {
    // Not reached yet: decoded here rather than waited for behind the others.
    HGLOBAL block = found->second.block;
    pending_.erase(found);
    hold.unlock();
    image = ImageInfo::LoadImageOrFile(block, key);
    return true;
  }
  changed_.wait(hold, [&] { return found->second.stage == Stage::kDone; });
  const bool decoded = !found->second.refused;
  image = std::move(found->second.image);
  pending_.erase(found);
  return decoded;
}

void ImagePrefetcher::Work() {
  std::unique_lock<std::mutex> hold(lock_);
  for (;;) {
    changed_.wait(hold, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    const std::wstring key = std::move(queue_.front());
    queue_.pop_front();
    auto found = pending_.find(key);
    if (found == pending_.end() || found->second.stage != Stage::kQueued) continue;
    found->second.stage = Stage::kDecoding;
    HGLOBAL block = found->second.block;
    found->second.block = nullptr;
    hold.unlock();
    std::unique_ptr<ImageInfo> image;
    bool refused = false;
    {
      ImageBudget::DecodingAhead ahead;
      image = ImageInfo::LoadImageOrFile(block, key);
      refused = ahead.refused();
    }
    hold.lock();
    // While it is being decoded, a request is erased only here, once dropped; nobody waits for
    // a dropped one.
    if (found->second.dropped) {
      pending_.erase(found);
      continue;
    }
    found->second.image = std::move(image);
    found->second.refused = refused;
    found->second.stage = Stage::kDone;
    changed_.notify_all();
  }
}

}  // namespace ui
