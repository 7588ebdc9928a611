#include "image/ImageInfo.h"

#include <algorithm>

#include "image/ImageBudget.h"
#include "render/GdiPlusFlat.h"
#include "system/SkinLog.h"

namespace ui {
namespace {

constexpr PROPID kFrameDelayTag = 0x5100;
constexpr GUID kTimeDimension = {
    0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};

struct ImageDisposer {
  void operator()(GpBitmap* bitmap) const { GdipDisposeImage(bitmap); }
};
using DecodedImage = std::unique_ptr<GpBitmap, ImageDisposer>;

UINT FrameCount(GpBitmap* bitmap) {
  UINT dimensions = 0;
  if (GdipImageGetFrameDimensionsCount(bitmap, &dimensions) != Ok || dimensions == 0) return 1;
  std::vector<GUID> ids(dimensions);
  UINT frames = 1;
  if (GdipImageGetFrameDimensionsList(bitmap, ids.data(), dimensions) != Ok ||
      GdipImageGetFrameCount(bitmap, &ids[0], &frames) != Ok)
    return 1;
  return frames;
}

bool ReadFrameDelays(GpBitmap* bitmap, std::vector<UINT>& delays) {
  UINT size = 0;
  if (GdipGetPropertyItemSize(bitmap, kFrameDelayTag, &size) != Ok || size < sizeof(PropertyItem))
    return false;
  std::vector<BYTE> buffer(size);
  PropertyItem* item = reinterpret_cast<PropertyItem*>(buffer.data());
  if (GdipGetPropertyItem(bitmap, kFrameDelayTag, size, item) != Ok) return false;
  const UINT* values = static_cast<const UINT*>(item->value);
  delays.assign(values, values + item->length / sizeof(UINT));
  return true;
}

// True when any pixel of the 32-bit frame is not fully opaque.
bool FrameHasTransparency(HBITMAP frame) {
  BITMAP description = {};
  if (!GetObjectW(frame, sizeof(description), &description) || !description.bmBits) return false;
  const BYTE* bits = static_cast<const BYTE*>(description.bmBits);
  for (LONG y = 0; y < description.bmHeight; ++y) {
    const BYTE* row = bits + static_cast<size_t>(y) * description.bmWidthBytes;
    for (LONG x = 3; x < description.bmWidthBytes; x += 4)
      if (row[x] != 255) return true;
  }
  return false;
}

bool HasAlpha(GpBitmap* bitmap, const std::vector<HBITMAP>& frames) {
  PixelFormat format = 0;
  GdipGetImagePixelFormat(bitmap, &format);
  if (format == PixelFormat32bppARGB) {
    for (HBITMAP frame : frames)
      if (FrameHasTransparency(frame)) return true;
    return false;
  }
  bool alpha = (format & PixelFormatAlpha) != 0;
  INT palette_size = 0;
  if ((format & PixelFormatIndexed) && GdipGetImagePaletteSize(bitmap, &palette_size) == Ok &&
      palette_size > 0) {
    std::vector<BYTE> buffer(palette_size);
    ColorPalette* palette = reinterpret_cast<ColorPalette*>(buffer.data());
    if (GdipGetImagePalette(bitmap, palette, palette_size) == Ok)
      alpha = (palette->Flags & PaletteFlagsHasAlpha) != 0;
  }
  return alpha;
}

std::unique_ptr<ImageInfo> Convert(GpBitmap* decoded, const std::wstring& path) {
  if (!decoded) return nullptr;
  DecodedImage bitmap(decoded);
  auto image = std::make_unique<ImageInfo>();
  UINT width = 0, height = 0;
  GdipGetImageWidth(bitmap.get(), &width);
  GdipGetImageHeight(bitmap.get(), &height);
  const uint64_t frame_pixels = std::max<uint64_t>(uint64_t{width} * height, 1);
  if (frame_pixels > ImageBudget::kMaxPixels) return nullptr;
  UINT frame_count = FrameCount(bitmap.get());
  if (frame_count > 1 && !ReadFrameDelays(bitmap.get(), image->frame_delays)) return nullptr;
  const auto frames_in_budget = static_cast<UINT>(ImageBudget::kMaxPixels / frame_pixels);
  if (frame_count > frames_in_budget) {
    LogSkinProblem(L"Image " + path + L": " + std::to_wstring(frame_count) +
                   L" frames, only the first " + std::to_wstring(frames_in_budget) +
                   L" fit in the pixel budget and are kept");
    frame_count = frames_in_budget;
  }
  if (image->frame_delays.size() > frame_count) image->frame_delays.resize(frame_count);
  for (UINT i = 0; i < frame_count; ++i) {
    HBITMAP frame = nullptr;
    if (GdipImageSelectActiveFrame(bitmap.get(), &kTimeDimension, i) != Ok && frame_count > 1)
      return nullptr;
    if (GdipCreateHBITMAPFromBitmap(bitmap.get(), &frame, 0xFF000000) != Ok || !frame)
      return nullptr;
    image->frames.push_back(frame);
  }
  image->width = static_cast<int>(width);
  image->height = static_cast<int>(height);
  image->path = path;
  image->alpha = HasAlpha(bitmap.get(), image->frames);
  return image;
}

// Decodes the image in `block` (owned).
std::unique_ptr<ImageInfo> Decode(HGLOBAL block, const std::wstring& path) {
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    return nullptr;
  }
  GpBitmap* bitmap = nullptr;
  const Status status = GdipCreateBitmapFromStream(stream, &bitmap);
  std::unique_ptr<ImageInfo> image = status == Ok ? Convert(bitmap, path) : nullptr;
  stream->Release();
  return image;
}

// The file's bytes in a movable block; null when it cannot be read or is above the budget.
HGLOBAL ReadImageFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size = {};
  HGLOBAL block = nullptr;
  if (GetFileSizeEx(file, &size) && static_cast<uint64_t>(size.QuadPart) > ImageInfo::kMaxFileBytes)
    LogSkinProblem(L"Image " + path + L" is larger than " +
                   std::to_wstring(ImageInfo::kMaxFileBytes) + L" bytes; not read");
  else if (size.QuadPart > 0)
    block = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size.QuadPart));
  if (block) {
    DWORD read = 0;
    const BOOL done =
        ReadFile(file, GlobalLock(block), static_cast<DWORD>(size.QuadPart), &read, nullptr);
    GlobalUnlock(block);
    if (!done || read != size.QuadPart) block = GlobalFree(block);
  }
  CloseHandle(file);
  return block;
}

}  // namespace

ImageInfo::~ImageInfo() {
  for (HBITMAP frame : frames) DeleteObject(frame);
  ImageBudget::Release(budget_pixels);
}

std::unique_ptr<ImageInfo> ImageInfo::LoadImage(const std::wstring& path) {
  return LoadImage(ReadImageFile(path), path);
}

std::unique_ptr<ImageInfo> ImageInfo::LoadImageOrFile(HGLOBAL block, const std::wstring& path) {
  std::unique_ptr<ImageInfo> image = LoadImage(block, path);
  return image ? std::move(image) : LoadImage(path);
}

bool ImageInfo::FileWithinBudget(const std::wstring& path) {
  HGLOBAL block = ReadImageFile(path);
  const bool within = block && ImageBudget::PlanDecode(block, path) != 0;
  if (block) GlobalFree(block);
  return within;
}

std::unique_ptr<ImageInfo> ImageInfo::LoadImage(HGLOBAL block, const std::wstring& path) {
  if (!block) return nullptr;
  const uint64_t pixels = ImageBudget::PlanDecode(block, path);
  if (!pixels || !ImageBudget::Reserve(pixels, path)) {
    GlobalFree(block);
    return nullptr;
  }
  std::unique_ptr<ImageInfo> image = Decode(block, path);
  if (!image) {
    ImageBudget::Release(pixels);
    return nullptr;
  }
  image->budget_pixels = pixels;
  return image;
}

}  // namespace ui
