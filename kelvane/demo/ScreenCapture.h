// Pictures of the screen for the demo: a part kept as a bitmap, pasted into a later picture
// of the whole screen, saved as PNG.
#pragma once

#include <windows.h>

#include <string>

class ScreenCapture {
 public:
  // The screen's pixels inside the rectangle (screen coordinates), now.
  explicit ScreenCapture(const RECT& area);
  ~ScreenCapture();
  ScreenCapture(const ScreenCapture&) = delete;
  ScreenCapture& operator=(const ScreenCapture&) = delete;

  // Copies the other capture over this one where it was taken.
  void Paste(const ScreenCapture& part);
  // Writes a PNG; false when it cannot. Needs GDI+ started.
  bool SavePng(const std::wstring& path) const;

  static RECT WholeScreen();

 private:
  RECT area_;
  HBITMAP bitmap_;
};
