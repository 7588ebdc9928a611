// Windows for the panel's controls in tests, and reading back what they paint.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "PumpUntil.h"

// A hidden top-level window with one child STATIC control of the given client size.
class ControlHost {
 public:
  ControlHost(int width, int height)
      : parent_(CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, width + 20, height + 20,
                                nullptr, nullptr, nullptr, nullptr)),
        control_(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, width, height,
                                 parent_, nullptr, nullptr, nullptr)) {}
  ~ControlHost() { DestroyWindow(parent_); }
  ControlHost(const ControlHost&) = delete;
  ControlHost& operator=(const ControlHost&) = delete;

  HWND parent() const { return parent_; }
  HWND control() const { return control_; }

 private:
  HWND parent_;
  HWND control_;
};

// What the window paints into its client area (WM_PRINTCLIENT), as 0x00RRGGBB pixels.
class Snapshot {
 public:
  explicit Snapshot(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, dib);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    pixels_.assign(pixels, pixels + width_ * height_);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(dib);
  }

  // As a COLORREF (0x00BBGGRR).
  COLORREF At(int x, int y) const {
    const uint32_t p = pixels_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

// True when each channel is within the tolerance.
inline bool CloseColor(COLORREF a, COLORREF b, int tolerance = 12) {
  return abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

