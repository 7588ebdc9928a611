#include "widgets/progress/CircleProgress.h"

#include <shlwapi.h>

#include "image/ImageInfo.h"
#include "render/GdiPlusFlat.h"

namespace ui {
namespace {

DWORD ColorOf(const std::wstring& value) {
  const size_t start = value.find_first_not_of(L" \t\r\n");
  return start == std::wstring::npos ? 0 : GlobalManager::GetTextColor(value.substr(start));
}

}  // namespace

CircleProgress::~CircleProgress() { DeleteIndicator(); }

void CircleProgress::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"circular") {
    circular_ = value == L"true";
    Invalidate();
  } else if (name == L"circlewidth") {
    circle_width_ = _wtoi(value.c_str());
    Invalidate();
  } else if (name == L"indicator") {
    SetIndicator(value);
  } else if (name == L"clockwise") {
    const bool clockwise = value == L"true";
    if (clockwise != clockwise_ && indicator_) GdipImageRotateFlip(indicator_, Rotate180FlipNone);
    clockwise_ = clockwise;
  } else if (name == L"bgcolor") {
    bk_color_ = ColorOf(value);
    Invalidate();
  } else if (name == L"fgcolor") {
    fg_color_ = ColorOf(value);
    Invalidate();
  } else if (name == L"gradientcolor") {
    gradient_color_ = ColorOf(value);
    Invalidate();
  } else {
    Progress::SetAttribute(name, value);
  }
}

void CircleProgress::DeleteIndicator() {
  if (indicator_) GdipDisposeImage(indicator_);
  indicator_ = nullptr;
}

void CircleProgress::SetIndicator(const std::wstring& path) {
  if (path == indicator_path_) return;
  indicator_path_ = path;
  DeleteIndicator();
  LoadIndicator();
}

void CircleProgress::LoadIndicator() {
  if (indicator_ || indicator_path_.empty()) return;
  std::wstring file = indicator_path_;
  if (!PathFileExistsW(file.c_str())) {
    const std::wstring window_path = window_ ? window_->GetResourcePath() : std::wstring();
    file = GlobalManager::GetResourcePath() + window_path + indicator_path_;
  }
  if (!PathFileExistsW(file.c_str()) || !ImageInfo::FileWithinBudget(file)) return;
  if (GdipLoadImageFromFile(file.c_str(), &indicator_) != Ok || !indicator_) {
    indicator_ = nullptr;
    return;
  }
  GdipImageRotateFlip(indicator_, clockwise_ ? Rotate90FlipNone : Rotate270FlipNone);
  Invalidate();
}

void CircleProgress::ClearImageCache() {
  Progress::ClearImageCache();
  // Dropped now and loaded again from its path at the next paint.
  DeleteIndicator();
}

SIZE CircleProgress::GetIndicatorSize() const {
  UINT width = 0;
  UINT height = 0;
  if (indicator_) {
    GdipGetImageWidth(indicator_, &width);
    GdipGetImageHeight(indicator_, &height);
  }
  return SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
}

RECT CircleProgress::GetRingSquare() const {
  const int center_x = rect_.left + (rect_.right - rect_.left) / 2;
  const int center_y = rect_.top + (rect_.bottom - rect_.top) / 2;
  const int side = std::min(rect_.right - rect_.left, rect_.bottom - rect_.top);
  const int left = center_x - side / 2;
  const int top = center_y - side / 2;
  return RECT{left, top, left + side, top + side};
}

RECT CircleProgress::GetArcRect() const {
  const RECT square = GetRingSquare();
  int x = square.left;
  int y = square.top;
  int width = square.right - square.left;
  int height = square.bottom - square.top;
  const int inset = indicator_ ? GetIndicatorSize().cx : circle_width_;
  x += inset / 2;
  y += inset / 2;
  width -= inset;
  height -= inset;
  return RECT{x + 1, y + 1, x + 1 + width - 2, y + 1 + height - 2};
}

float CircleProgress::GetSweepAngle() const {
  const float sweep = static_cast<float>((value_ - min_) * 360.0 / Span());
  return clockwise_ ? sweep : -sweep;
}

void CircleProgress::PaintStatusImage(IRenderContext* context) {
  Progress::PaintStatusImage(context);
  if (!circular_) return;
  LoadIndicator();
  PaintRing(context);
}

void CircleProgress::PaintRing(IRenderContext* context) {
  GpGraphics* graphics = nullptr;
  if (GdipCreateFromHDC(context->GetDC(), &graphics) != Ok) return;
  GdipSetSmoothingMode(graphics, SmoothingModeAntiAlias);
  GpPen* bk_pen = nullptr;
  GdipCreatePen1(bk_color_, static_cast<REAL>(circle_width_), UnitWorld, &bk_pen);
  const RECT square = GetRingSquare();
  const RECT arc = GetArcRect();
  const int arc_width = arc.right - arc.left;
  const int arc_height = arc.bottom - arc.top;
  const float sweep = GetSweepAngle();

  GpLineGradient* brush = nullptr;
  GpPen* fg_pen = nullptr;
  if (gradient_color_ != 0) {
    const GpRect bounds = {square.left, square.top, square.right - square.left,
                           square.bottom - square.top};
    GdipCreateLineBrushFromRectI(&bounds, fg_color_, gradient_color_, LinearGradientModeVertical,
                                 WrapModeTile, &brush);
    const REAL factors[] = {0.0f, 0.4f, 0.6f, 1.0f};
    const REAL positions[] = {0.0f, 0.2f, 0.8f, 1.0f};
    GdipSetLineBlend(brush, factors, positions, 4);
    GdipCreatePen2(brush, static_cast<REAL>(circle_width_), UnitWorld, &fg_pen);
  } else {
    GdipCreatePen1(fg_color_, static_cast<REAL>(circle_width_), UnitWorld, &fg_pen);
  }
  GdipDrawArcI(graphics, bk_pen, arc.left, arc.top, arc_width, arc_height, 270, 360);
  GdipDrawArcI(graphics, fg_pen, arc.left, arc.top, arc_width, arc_height, 270, sweep);

  GpMatrix* matrix = nullptr;
  if (indicator_) {
    const int center_x = rect_.left + (rect_.right - rect_.left) / 2;
    const int center_y = rect_.top + (rect_.bottom - rect_.top) / 2;
    GdipCreateMatrix(&matrix);
    GdipTranslateMatrix(matrix, static_cast<REAL>(-center_x), static_cast<REAL>(-center_y),
                        MatrixOrderAppend);
    GdipRotateMatrix(matrix, sweep, MatrixOrderAppend);
    GdipTranslateMatrix(matrix, static_cast<REAL>(center_x), static_cast<REAL>(center_y),
                        MatrixOrderAppend);
    GdipSetWorldTransform(graphics, matrix);
    const SIZE size = GetIndicatorSize();
    GdipDrawImageRectI(graphics, indicator_, center_x - size.cx / 2, arc.top - size.cy / 2,
                       size.cx, size.cy);
  }
  if (matrix) GdipDeleteMatrix(matrix);
  if (fg_pen) GdipDeletePen(fg_pen);
  if (bk_pen) GdipDeletePen(bk_pen);
  if (brush) GdipDeleteBrush(brush);
  GdipDeleteGraphics(graphics);
}

}  // namespace ui
