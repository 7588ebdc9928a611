#include "ScreenCapture.h"

#include <gdiplus.h>

#include <memory>
#include <vector>

namespace {

bool FindPngEncoder(CLSID* encoder) {
  UINT count = 0, bytes = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
  std::vector<unsigned char> buffer(bytes);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(codecs[i].MimeType) == L"image/png") {
      *encoder = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

ScreenCapture::ScreenCapture(const RECT& area) : area_(area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  bitmap_ = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap_);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

ScreenCapture::~ScreenCapture() { DeleteObject(bitmap_); }

RECT ScreenCapture::WholeScreen() {
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void ScreenCapture::Paste(const ScreenCapture& part) {
  HDC screen = GetDC(nullptr);
  HDC target = CreateCompatibleDC(screen);
  HDC source = CreateCompatibleDC(screen);
  HGDIOBJ oldTarget = SelectObject(target, bitmap_);
  HGDIOBJ oldSource = SelectObject(source, part.bitmap_);
  BitBlt(target, part.area_.left - area_.left, part.area_.top - area_.top,
         part.area_.right - part.area_.left, part.area_.bottom - part.area_.top, source, 0, 0,
         SRCCOPY);
  SelectObject(source, oldSource);
  SelectObject(target, oldTarget);
  DeleteDC(source);
  DeleteDC(target);
  ReleaseDC(nullptr, screen);
}

bool ScreenCapture::SavePng(const std::wstring& path) const {
  CLSID encoder;
  if (!FindPngEncoder(&encoder)) return false;
  Gdiplus::Bitmap picture(bitmap_, nullptr);
  return picture.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
}
