#include "StatusIconImage.h"

#include <gdiplus.h>
#include <shlwapi.h>

#include <cwchar>
#include <memory>

#include "render/FontFileFamily.h"

namespace {

// The image, decoded and detached from the resource bytes.
std::unique_ptr<Gdiplus::Bitmap> LoadPngResource(HINSTANCE module, const wchar_t* name) {
  HRSRC resource = ::FindResourceW(module, name, L"PNG");
  HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr) return nullptr;
  IStream* stream = ::SHCreateMemStream(static_cast<const BYTE*>(bytes),
                                        ::SizeofResource(module, resource));
  if (stream == nullptr) return nullptr;
  std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream));
  std::unique_ptr<Gdiplus::Bitmap> image;
  if (decoded && decoded->GetLastStatus() == Gdiplus::Ok && decoded->GetWidth() > 0 &&
      decoded->GetHeight() > 0) {
    image.reset(decoded->Clone(0, 0, decoded->GetWidth(), decoded->GetHeight(),
                               PixelFormat32bppPARGB));
    if (image && image->GetLastStatus() != Gdiplus::Ok) image.reset();
  }
  decoded.reset();
  stream->Release();
  return image;
}

// The status text's face. A face GDI+ does not know (Wine only substitutes 微软雅黑) gives way to
// the generic sans-serif one; GDI+'s wrapper of a font made from a GDI handle would keep a freed
// font when that fails.
bool GdiplusKnows(HDC dc, const LOGFONTW& description) {
  Gdiplus::GpFont* font = nullptr;
  if (Gdiplus::DllExports::GdipCreateFontFromLogfontW(dc, &description, &font) != Gdiplus::Ok)
    return false;  // the failed call may leave a freed font behind: never touch it
  Gdiplus::DllExports::GdipDeleteFont(font);
  return true;
}

// 微软雅黑 by its wide description, else (a face GDI only substitutes, as under Wine) by the
// family of the font file GDI uses for it; false when GDI+ knows neither.
bool StatusTextFont(HDC dc, HFONT handle, LOGFONTW* description) {
  if (::GetObjectW(handle, sizeof *description, description) == 0) return false;
  if (GdiplusKnows(dc, *description)) return true;
  const std::wstring family = ui::FontFileFamilyName(dc, handle);
  if (family.empty() || family.size() >= LF_FACESIZE) return false;
  wcscpy(description->lfFaceName, family.c_str());
  return GdiplusKnows(dc, *description);
}

void DrawTwoCharacters(Gdiplus::Graphics& graphics, const std::wstring& text) {
  HFONT handle = ::CreateFontW(20, 0, 0, 0, 0, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 32,
                               L"微软雅黑");
  HDC screen = ::GetDC(nullptr);
  LOGFONTW description{};
  if (StatusTextFont(screen, handle, &description)) {
    Gdiplus::Font face(screen, &description);
    Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    graphics.DrawString(&text[0], 1, &face, Gdiplus::PointF(8, 0), &white);
    graphics.DrawString(&text[1], 1, &face, Gdiplus::PointF(26, 17), &white);
  }
  ::ReleaseDC(nullptr, screen);
  ::DeleteObject(handle);
}

}  // namespace

HBITMAP RenderStatusIcon(HINSTANCE module, const wchar_t* imageName, const std::wstring& text,
                         SIZE* size) {
  std::unique_ptr<Gdiplus::Bitmap> image = LoadPngResource(module, imageName);
  if (!image) return nullptr;
  const int width = static_cast<int>(image->GetWidth());
  const int height = static_cast<int>(image->GetHeight());

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib == nullptr) return nullptr;
  {
    Gdiplus::Bitmap canvas(width, height, width * 4, PixelFormat32bppPARGB,
                           static_cast<BYTE*>(bits));
    Gdiplus::Graphics graphics(&canvas);
    graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
    graphics.DrawImage(image.get(), 0, 0, width, height);
    if (text.size() == 2) DrawTwoCharacters(graphics, text);
  }
  size->cx = width;
  size->cy = height;
  return dib;
}
