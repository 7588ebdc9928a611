// Creates the GDI+ render objects.
#pragma once

#include "render/RenderInterfaces.h"

namespace ui {

class RenderFactory_GdiPlus : public IRenderFactory {
 public:
  IPen* CreatePen(DWORD color, int width = 1) override;
  IBrush* CreateBrush(HBITMAP bitmap) override;
  IBrush* CreateBrush(DWORD color) override;
  IMatrix* CreateMatrix() override;
  IPath* CreatePath() override;
  IBitmap* CreateBitmap() override;
  IRenderContext* CreateRenderContext() override;
};

}  // namespace ui
