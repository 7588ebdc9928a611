// A labelled bar showing a value between a minimum and a maximum, filled with a colour and a
// fore image clipped or stretched to the filled part.
#pragma once

#include <cstdint>

#include "widgets/Label.h"

namespace ui {

class Progress : public LabelTemplate<Control> {
 public:
  Progress();

  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void ClearImageCache() override;
  void PaintStatusImage(IRenderContext* context) override;
  // The filled part, relative to the control.
  virtual RECT GetProgressPos();

  bool IsHorizontal() const { return horizontal_; }
  void SetHorizontal(bool horizontal);
  int64_t GetMinValue() const { return min_; }
  void SetMinValue(int value);
  int64_t GetMaxValue() const { return max_; }
  void SetMaxValue(int value);
  double GetValue() const { return value_; }
  void SetValue(double value);
  bool IsStretchForeImage() const { return stretch_fore_; }
  void SetStretchForeImage(bool stretch);
  void SetProgressImage(const std::wstring& image);
  std::wstring GetProgressColor() const { return progress_color_; }
  void SetProgressColor(const std::wstring& color);

 protected:
  // A maximum not above the minimum becomes minimum + 1 (64 bits: the minimum may be the
  // largest int); the value is brought into range.
  void RepairRange();
  // maximum - minimum, never below 1 (the range is repaired only when painting).
  double Span() const;

  bool horizontal_ = true;
  bool stretch_fore_ = true;
  int64_t max_ = 100;
  int64_t min_ = 0;
  double value_ = 0.0;
  Image progress_image_;
  std::wstring progress_color_;
  std::wstring fore_modify_;
};

}  // namespace ui
