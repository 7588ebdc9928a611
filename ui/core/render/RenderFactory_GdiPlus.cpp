#include "render/RenderFactory_GdiPlus.h"

#include "render/Brush_GdiPlus.h"
#include "render/GdiBitmap.h"
#include "render/Matrix_GdiPlus.h"
#include "render/Path_GdiPlus.h"
#include "render/Pen_GdiPlus.h"
#include "render/RenderContext_GdiPlus.h"

namespace ui {

IPen* RenderFactory_GdiPlus::CreatePen(DWORD color, int width) {
  return new Pen_GdiPlus(color, width);
}
IBrush* RenderFactory_GdiPlus::CreateBrush(HBITMAP bitmap) { return new Brush_GdiPlus(bitmap); }
IBrush* RenderFactory_GdiPlus::CreateBrush(DWORD color) { return new Brush_GdiPlus(color); }
IMatrix* RenderFactory_GdiPlus::CreateMatrix() { return new Matrix_GdiPlus(); }
IPath* RenderFactory_GdiPlus::CreatePath() { return new Path_GdiPlus(); }
IBitmap* RenderFactory_GdiPlus::CreateBitmap() { return new GdiBitmap(); }
IRenderContext* RenderFactory_GdiPlus::CreateRenderContext() { return new RenderContext_GdiPlus(); }

}  // namespace ui
