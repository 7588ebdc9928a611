// Images decoded ahead of their first paint on a worker thread, while the window is still being
// built: the UI thread takes each result when it first needs the image, or decodes a request
// the worker has not reached yet itself.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "image/ImageInfo.h"

namespace ui {

class ImagePrefetcher {
 public:
  static ImagePrefetcher& Instance();

  ImagePrefetcher() = default;
  ~ImagePrefetcher() { Stop(); }
  ImagePrefetcher(const ImagePrefetcher&) = delete;
  ImagePrefetcher& operator=(const ImagePrefetcher&) = delete;

  void Start();
  // Ends the worker; requests not yet taken are dropped.
  void Stop();
  bool IsRunning() const { return worker_.joinable(); }

  bool IsRequested(const std::wstring& key);
  // Queues the decode of `block` (owned from here; null: the file `key`), as
  // ImageInfo::LoadImageOrFile does it.
  void Request(const std::wstring& key, HGLOBAL block);
  // The image requested under `key`, decoded (null when it does not decode); false when no
  // request is held for `key` or the budget left it undecoded. Waits while the worker decodes
  // it.
  bool Take(const std::wstring& key, std::unique_ptr<ImageInfo>& image);
  // Gives up every request not taken: what is decoded is destroyed, what is queued is not
  // decoded, and one being decoded is destroyed when the worker is done with it.
  void DropUntaken();

 private:
  enum class Stage { kQueued, kDecoding, kDone };
  struct Pending {
    HGLOBAL block = nullptr;
    Stage stage = Stage::kQueued;
    bool dropped = false;  // given up while being decoded: the worker erases it
    bool refused = false;  // not decoded ahead for the budget: decoded when drawn
    std::unique_ptr<ImageInfo> image;
  };

  void Work();

  std::mutex lock_;
  std::condition_variable changed_;
  std::map<std::wstring, Pending> pending_;
  std::deque<std::wstring> queue_;
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace ui
