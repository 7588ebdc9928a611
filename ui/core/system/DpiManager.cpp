#include "system/DpiManager.h"

namespace ui {

DpiManager* DpiManager::GetInstance() {
  static DpiManager instance;
  return &instance;
}

int DpiManager::ScaleInt(int value) const {
  return IsIdentity() ? value : MulDiv(value, scale_, 100);
}

void DpiManager::ScaleSize(SIZE& size) const {
  if (IsIdentity()) return;
  size.cx = MulDiv(size.cx, scale_, 100);
  size.cy = MulDiv(size.cy, scale_, 100);
}

void DpiManager::ScaleRect(RECT& rect) const {
  if (IsIdentity()) return;
  LONG width = MulDiv(rect.right - rect.left, scale_, 100);
  LONG height = MulDiv(rect.bottom - rect.top, scale_, 100);
  rect.left = MulDiv(rect.left, scale_, 100);
  rect.top = MulDiv(rect.top, scale_, 100);
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
}

void DpiManager::OnDpiChanged(WPARAM wparam) {
  if (dpi_aware_) scale_ = MulDiv(LOWORD(wparam), 100, 96);
}

}  // namespace ui
