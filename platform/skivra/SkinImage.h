// CSkinImage: a PNG resource (type "PNG") decoded with its alpha channel.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <memory>

class CSkinImage {
 public:
  CSkinImage() = default;
  ~CSkinImage();
  CSkinImage(const CSkinImage&) = delete;
  CSkinImage& operator=(const CSkinImage&) = delete;

  // Loads the PNG resource of the module (name matched without regard to case); false,
  // and nothing loaded, when it is missing or no PNG. Needs InitSkivra.
  bool Load(HINSTANCE module, const wchar_t* name);
  void Release();
  bool IsLoaded() const { return bitmap_ != nullptr; }
  int Width() const;
  int Height() const;
  // Draws the image scaled to the rectangle, blended over what is there.
  void Draw(HDC dc, int x, int y, int width, int height) const;
  Gdiplus::Bitmap* GetBitmap() const { return bitmap_.get(); }

 private:
  std::unique_ptr<Gdiplus::Bitmap> bitmap_;
};
