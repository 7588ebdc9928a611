// Clipping on a device context; clips nest and are cleared in reverse order.
#pragma once

#include "render/RenderInterfaces.h"

namespace ui {

class GdiClip : public IClip {
 public:
  void CreateClip(HDC hdc, RECT rect) override;
  void CreateRoundClip(HDC hdc, RECT rect, int width, int height) override;
  void ClearClip(HDC hdc) override;

 private:
  static void SelectClipRegion(HDC hdc, HRGN region);
};

}  // namespace ui
