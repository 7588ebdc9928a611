#include "render/GdiClip.h"

namespace ui {
namespace {

// Logical to device coordinates.
RECT ToDevice(HDC hdc, RECT rect) {
  POINT origin = {};
  GetWindowOrgEx(hdc, &origin);
  OffsetRect(&rect, -origin.x, -origin.y);
  return rect;
}

}  // namespace

void GdiClip::SelectClipRegion(HDC hdc, HRGN region) {
  SaveDC(hdc);
  ExtSelectClipRgn(hdc, region, RGN_AND);
  DeleteObject(region);
}

void GdiClip::CreateClip(HDC hdc, RECT rect) {
  if (!hdc) return;
  rect = ToDevice(hdc, rect);
  SelectClipRegion(hdc, CreateRectRgnIndirect(&rect));
}

void GdiClip::CreateRoundClip(HDC hdc, RECT rect, int width, int height) {
  if (!hdc) return;
  rect = ToDevice(hdc, rect);
  SelectClipRegion(
      hdc, CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1, width, height));
}

void GdiClip::ClearClip(HDC hdc) {
  if (hdc) RestoreDC(hdc, -1);
}

}  // namespace ui
