#include "widgets/progress/Progress.h"

#include <algorithm>

#include "base/StringPrintf.h"

namespace ui {
namespace {

std::wstring SkipLeadingBlanks(const std::wstring& value) {
  const size_t start = value.find_first_not_of(L" \t\r\n");
  return start == std::wstring::npos ? std::wstring() : value.substr(start);
}

}  // namespace

Progress::Progress() {
  SetTextStyle(DT_CENTER | DT_SINGLELINE);
  SetFixedHeight(12);
}

void Progress::SetHorizontal(bool horizontal) {
  if (horizontal_ == horizontal) return;
  horizontal_ = horizontal;
  Invalidate();
}

void Progress::SetMinValue(int value) {
  min_ = value;
  Invalidate();
}

void Progress::SetMaxValue(int value) {
  max_ = value;
  Invalidate();
}

void Progress::SetValue(double value) {
  value_ = value;
  Invalidate();
}

void Progress::SetStretchForeImage(bool stretch) {
  if (stretch_fore_ == stretch) return;
  stretch_fore_ = stretch;
  Invalidate();
}

void Progress::SetProgressImage(const std::wstring& image) {
  progress_image_ = Image();
  progress_image_.SetImageString(image);
  Invalidate();
}

void Progress::SetProgressColor(const std::wstring& color) {
  const std::wstring name = SkipLeadingBlanks(color);
  if (name == progress_color_) return;
  progress_color_ = name;
  Invalidate();
}

void Progress::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"hor")
    SetHorizontal(value == L"true");
  else if (name == L"min")
    SetMinValue(_wtoi(value.c_str()));
  else if (name == L"max")
    SetMaxValue(_wtoi(value.c_str()));
  else if (name == L"value")
    SetValue(_wtoi(value.c_str()));
  else if (name == L"progressimage")
    SetProgressImage(value);
  else if (name == L"isstretchfore")
    SetStretchForeImage(value == L"true");
  else if (name == L"progresscolor")
    SetProgressColor(value);
  else
    LabelTemplate<Control>::SetAttribute(name, value);
}

void Progress::ClearImageCache() {
  LabelTemplate<Control>::ClearImageCache();
  progress_image_.ClearCache();
}

void Progress::RepairRange() {
  if (min_ >= max_) max_ = min_ + 1;
  value_ = std::clamp(value_, static_cast<double>(min_), static_cast<double>(max_));
}

double Progress::Span() const {
  return std::max(1.0, static_cast<double>(max_) - static_cast<double>(min_));
}

RECT Progress::GetProgressPos() {
  const int width = rect_.right - rect_.left;
  const int height = rect_.bottom - rect_.top;
  if (horizontal_)
    return RECT{0, 0, static_cast<LONG>(width * (value_ - min_) / Span()), height};
  return RECT{0, static_cast<LONG>((max_ - value_) * height / Span()), width, height};
}

void Progress::PaintStatusImage(IRenderContext* context) {
  RepairRange();
  const RECT filled = GetProgressPos();
  if (!progress_color_.empty()) {
    const DWORD color = GlobalManager::GetTextColor(progress_color_);
    if (color != 0) {
      RECT rect = rect_;
      if (horizontal_)
        rect.right = rect.left + filled.right;
      else
        rect.top = rect.top + filled.top;
      context->DrawColor(rect, color, 255);
    }
  }
  if (progress_image_.attribute.image_string.empty()) return;
  fore_modify_ = base::StringPrintf(L"destscale='false' dest='%d,%d,%d,%d'", filled.left,
                                    filled.top, filled.right, filled.bottom);
  if (!stretch_fore_)
    fore_modify_ += base::StringPrintf(L" source='%d,%d,%d,%d'", filled.left, filled.top,
                                       filled.right, filled.bottom);
  DrawImage(context, progress_image_, fore_modify_, -1);
}

}  // namespace ui
