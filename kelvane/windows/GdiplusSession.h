// Keeps GDI+ started while the object lives. GDI+ counts its starts, so sessions of
// several windows may overlap.
#pragma once

#include <windows.h>

class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

 private:
  ULONG_PTR token_ = 0;
};
