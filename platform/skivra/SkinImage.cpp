#include "skivra/SkinImage.h"

#include <shlwapi.h>

CSkinImage::~CSkinImage() { Release(); }

bool CSkinImage::Load(HINSTANCE module, const wchar_t* name) {
  Release();
  HRSRC resource = FindResourceW(module, name, L"PNG");
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return false;
  IStream* stream = SHCreateMemStream(static_cast<const BYTE*>(bytes),
                                      SizeofResource(module, resource));
  if (stream == nullptr) return false;
  std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream));
  stream->Release();
  if (!decoded || decoded->GetLastStatus() != Gdiplus::Ok) return false;
  // A copy that no longer reads from the stream.
  bitmap_.reset(decoded->Clone(0, 0, decoded->GetWidth(), decoded->GetHeight(),
                               PixelFormat32bppARGB));
  if (bitmap_ && bitmap_->GetLastStatus() != Gdiplus::Ok) bitmap_.reset();
  return bitmap_ != nullptr;
}

void CSkinImage::Release() { bitmap_.reset(); }

int CSkinImage::Width() const { return bitmap_ ? static_cast<int>(bitmap_->GetWidth()) : 0; }

int CSkinImage::Height() const { return bitmap_ ? static_cast<int>(bitmap_->GetHeight()) : 0; }

void CSkinImage::Draw(HDC dc, int x, int y, int width, int height) const {
  if (!bitmap_) return;
  Gdiplus::Graphics graphics(dc);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
  graphics.DrawImage(bitmap_.get(), x, y, width, height);
}
