#include "image/ImageBudget.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <vector>

#include "image/GifFrames.h"
#include "image/ImageSizeProbe.h"
#include "system/SkinLog.h"

namespace ui {
namespace {

constexpr uint8_t kGifTrailer = 0x3b;

thread_local ImageBudget::DecodingAhead* t_ahead = nullptr;

std::atomic<uint64_t>& PixelsTaken() {
  static std::atomic<uint64_t> pixels{0};
  return pixels;
}

// The canvas after each frame: a GIF's frames, or the one frame of another format.
std::vector<GifFrame> FramesOf(const uint8_t* bytes, size_t size, const ImageSize& announced) {
  std::vector<GifFrame> frames = ReadGifFrames(bytes, size, ImageBudget::kMaxFrames + 1);
  if (frames.empty()) frames.push_back(GifFrame{announced, size});
  return frames;
}

// How many of `frames` fit together; 0 when the first does not.
size_t FramesInBudget(const std::vector<GifFrame>& frames) {
  size_t kept = 0;
  while (kept < std::min(frames.size(), ImageBudget::kMaxFrames)) {
    const uint64_t pixels = std::max<uint64_t>(frames[kept].canvas.Pixels(), 1);
    if (pixels > ImageBudget::kMaxPixels / (kept + 1)) break;
    ++kept;
  }
  return kept;
}

void LogTooLarge(const std::wstring& path, const ImageSize& size) {
  LogSkinProblem(L"Image " + path + L" is " + std::to_wstring(size.width) + L" x " +
                 std::to_wstring(size.height) + L" pixels, above the budget of " +
                 std::to_wstring(ImageBudget::kMaxPixels) + L"; not loaded");
}

// Ends the GIF in `block` after `end` bytes with a trailer.
void CutGif(HGLOBAL& block, size_t end) {
  auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
  bytes[end] = kGifTrailer;
  GlobalUnlock(block);
  if (HGLOBAL shrunk = GlobalReAlloc(block, end + 1, 0)) block = shrunk;
}

}  // namespace

uint64_t ImageBudget::PlanDecode(HGLOBAL& block, const std::wstring& path) {
  const auto* bytes = static_cast<const uint8_t*>(GlobalLock(block));
  const size_t size = bytes ? GlobalSize(block) : 0;
  const std::optional<ImageSize> announced =
      bytes ? ProbeImageSize(bytes, size) : std::nullopt;
  const std::vector<GifFrame> frames =
      announced ? FramesOf(bytes, size, *announced) : std::vector<GifFrame>();
  GlobalUnlock(block);
  if (!announced) {
    LogSkinProblem(L"Image " + path + L": not a PNG, GIF, JPEG, BMP or icon; not loaded");
    return 0;
  }
  const size_t kept = FramesInBudget(frames);
  if (kept == 0) {
    LogTooLarge(path, frames.front().canvas);
    return 0;
  }
  if (kept < frames.size()) {
    LogSkinProblem(L"Image " + path + L": only the first " + std::to_wstring(kept) +
                   L" frames fit in the budgets of " + std::to_wstring(kMaxPixels) +
                   L" pixels and " + std::to_wstring(kMaxFrames) + L" frames and are kept");
    // The decoder never sees the frames after them.
    CutGif(block, frames[kept - 1].end);
  }
  return std::max<uint64_t>(frames[kept - 1].canvas.Pixels(), 1) * kept;
}

ImageBudget::DecodingAhead::DecodingAhead() : previous_(t_ahead) { t_ahead = this; }

ImageBudget::DecodingAhead::~DecodingAhead() { t_ahead = previous_; }

bool ImageBudget::Reserve(uint64_t pixels, const std::wstring& path) {
  const uint64_t ceiling = t_ahead ? kMaxTotalPixels / 2 : kMaxTotalPixels;
  std::atomic<uint64_t>& taken = PixelsTaken();
  uint64_t before = taken.load();
  do {
    if (pixels > ceiling - std::min(before, ceiling)) {
      if (t_ahead)
        t_ahead->refused_ = true;
      else
        LogSkinProblem(L"Image " + path + L": its " + std::to_wstring(pixels) +
                       L" pixels would take the decoded images past the process's budget of " +
                       std::to_wstring(kMaxTotalPixels) + L"; drawn as missing");
      return false;
    }
  } while (!taken.compare_exchange_weak(before, before + pixels));
  return true;
}

void ImageBudget::Release(uint64_t pixels) { PixelsTaken() -= pixels; }

uint64_t ImageBudget::PixelsInUse() { return PixelsTaken().load(); }

}  // namespace ui
