// A progress bar with a draggable thumb: drag it, click anywhere on the bar (the value jumps
// to the release point) or turn the wheel; each user change is announced as "valuechange".
#pragma once

#include "widgets/progress/Progress.h"

namespace ui {

class Slider : public Progress {
 public:
  Slider();

  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void ClearImageCache() override;
  void HandleMessage(EventArgs& args) override;
  void PaintStatusImage(IRenderContext* context) override;
  RECT GetProgressPos() override;

  RECT GetThumbRect() const;
  // The value a point on the bar stands for.
  double ValueFromPoint(POINT point) const;
  SIZE GetThumbSize() const { return thumb_size_; }
  int GetChangeStep() const { return step_; }
  RECT GetProgressBarPadding() const { return bar_padding_; }

 private:
  void SetThumbImage(ControlStateType state, const std::wstring& image);
  void AnnounceValueChange();

  int step_ = 1;
  SIZE thumb_size_ = {10, 10};
  StateImage thumb_images_;
  RECT bar_padding_ = {0, 0, 0, 0};
  std::wstring image_dest_;
};

}  // namespace ui
