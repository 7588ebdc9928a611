#include "render/Path_GdiPlus.h"

#include <vector>

#include "render/Matrix_GdiPlus.h"
#include "render/Pen_GdiPlus.h"

namespace ui {
namespace {

std::vector<GpPoint> ToPoints(const POINT* points, int count) {
  std::vector<GpPoint> converted;
  for (int i = 0; i < count; ++i) converted.emplace_back(points[i].x, points[i].y);
  return converted;
}

}  // namespace

GpPath* Path_GdiPlus::HandleOf(const IPath* path) {
  const auto* own = dynamic_cast<const Path_GdiPlus*>(path);
  return own ? own->GetPath() : nullptr;
}

Path_GdiPlus::Path_GdiPlus() { Check(GdipCreatePath(FillModeAlternate, &path_)); }

Path_GdiPlus::~Path_GdiPlus() {
  if (path_) GdipDeletePath(path_);
}

void Path_GdiPlus::Check(Status status) {
  if (status != Ok) last_status_ = status;
}

IPath* Path_GdiPlus::Clone() {
  GpPath* cloned = nullptr;
  const Status status = GdipClonePath(path_, &cloned);
  Path_GdiPlus* copy = new Path_GdiPlus(cloned);
  copy->Check(status);
  return copy;
}

void Path_GdiPlus::Reset() { Check(GdipResetPath(path_)); }
void Path_GdiPlus::SetFillMode(int mode) { Check(GdipSetPathFillMode(path_, FillMode(mode))); }

int Path_GdiPlus::GetFillMode() {
  FillMode mode = FillModeAlternate;
  Check(GdipGetPathFillMode(path_, &mode));
  return mode;
}

void Path_GdiPlus::StartFigure() { Check(GdipStartPathFigure(path_)); }
void Path_GdiPlus::CloseFigure() { Check(GdipClosePathFigure(path_)); }

void Path_GdiPlus::AddLine(int x1, int y1, int x2, int y2) {
  Check(GdipAddPathLineI(path_, x1, y1, x2, y2));
}

void Path_GdiPlus::AddLines(const POINT* points, int count) {
  std::vector<GpPoint> converted = ToPoints(points, count);
  Check(GdipAddPathLine2I(path_, converted.data(), count));
}

void Path_GdiPlus::AddBezier(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Check(GdipAddPathBezierI(path_, x1, y1, x2, y2, x3, y3, x4, y4));
}

void Path_GdiPlus::AddCurve(const POINT* points, int count) {
  std::vector<GpPoint> converted = ToPoints(points, count);
  Check(GdipAddPathCurveI(path_, converted.data(), count));
}

void Path_GdiPlus::AddRect(int left, int top, int right, int bottom) {
  Check(GdipAddPathRectangleI(path_, left, top, right - left, bottom - top));
}

void Path_GdiPlus::AddRect(const RECT& rect) {
  AddRect(rect.left, rect.top, rect.right, rect.bottom);
}

void Path_GdiPlus::AddEllipse(int left, int top, int right, int bottom) {
  Check(GdipAddPathEllipseI(path_, left, top, right - left, bottom - top));
}

void Path_GdiPlus::AddEllipse(const RECT& rect) {
  AddEllipse(rect.left, rect.top, rect.right, rect.bottom);
}

void Path_GdiPlus::AddArc(int x, int y, int width, int height, float start_angle,
                          float sweep_angle) {
  Check(GdipAddPathArcI(path_, x, y, width, height, start_angle, sweep_angle));
}

void Path_GdiPlus::AddPie(int x, int y, int width, int height, float start_angle,
                          float sweep_angle) {
  Check(GdipAddPathPieI(path_, x, y, width, height, start_angle, sweep_angle));
}

void Path_GdiPlus::AddPolygon(const POINT* points, int count) {
  std::vector<GpPoint> converted = ToPoints(points, count);
  Check(GdipAddPathPolygonI(path_, converted.data(), count));
}

RECT Path_GdiPlus::GetBounds(const IPen* pen) {
  GpRect bounds;
  Check(GdipGetPathWorldBoundsI(path_, &bounds, nullptr, Pen_GdiPlus::HandleOf(pen)));
  return RECT{bounds.X, bounds.Y, bounds.X + bounds.Width, bounds.Y + bounds.Height};
}

bool Path_GdiPlus::IsContainsPoint(int x, int y) {
  BOOL inside = FALSE;
  Check(GdipIsVisiblePathPointI(path_, x, y, nullptr, &inside));
  return inside != FALSE;
}

bool Path_GdiPlus::IsStrokeContainsPoint(int x, int y, const IPen* pen) {
  BOOL inside = FALSE;
  Check(GdipIsOutlineVisiblePathPointI(path_, x, y, Pen_GdiPlus::HandleOf(pen), nullptr, &inside));
  return inside != FALSE;
}

void Path_GdiPlus::Transform(const IMatrix* matrix) {
  if (GpMatrix* handle = Matrix_GdiPlus::HandleOf(matrix)) Check(GdipTransformPath(path_, handle));
}

}  // namespace ui
