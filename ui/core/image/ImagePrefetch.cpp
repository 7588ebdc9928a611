#include "image/ImagePrefetch.h"

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
  DropAll();
}

void ImagePrefetcher::DropAll() {
  std::lock_guard<std::mutex> hold(lock_);
  for (auto& entry : pending_)
    if (entry.second.block) GlobalFree(entry.second.block);
  pending_.clear();
  queue_.clear();
}

bool ImagePrefetcher::IsRequested(const std::wstring& key) {
  std::lock_guard<std::mutex> hold(lock_);
  return pending_.count(key) != 0;
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
  if (found == pending_.end()) return false;
  if (found->second.stage == Stage::kQueued) {
    // Not reached yet: decoded here rather than waited for behind the others.
    HGLOBAL block = found->second.block;
    pending_.erase(found);
    hold.unlock();
    image = ImageInfo::LoadImageOrFile(block, key);
    return true;
  }
  changed_.wait(hold, [&] { return found->second.stage == Stage::kDone; });
  image = std::move(found->second.image);
  pending_.erase(found);
  return true;
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
    std::unique_ptr<ImageInfo> image = ImageInfo::LoadImageOrFile(block, key);
    hold.lock();
    // Only the UI thread erases a request, and not while it is being decoded.
    found->second.image = std::move(image);
    found->second.stage = Stage::kDone;
    changed_.notify_all();
  }
}

}  // namespace ui
