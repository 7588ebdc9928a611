// CPoint and CRect: POINT and RECT with MFC's helpers.
#pragma once

#include <windows.h>

class CPoint : public POINT {
 public:
  CPoint() : POINT{0, 0} {}
  CPoint(int px, int py) : POINT{px, py} {}
};

class CRect : public RECT {
 public:
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }
};
