// A skinned, windowless scroll bar: two arrow buttons, a rail and a thumb with a grip,
// click, press-and-hold auto-repeat and thumb dragging; alone or owned by a scrollable box.
#pragma once

#include <cstdint>

#include "control/Control.h"

namespace ui {

class ScrollableBox;

class ScrollBar : public Control {
 public:
  ScrollBar();
  ~ScrollBar() override;

  void SetPos(RECT rect) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetFocus() override;
  bool HasHotState() override { return true; }
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void Paint(IRenderContext* context, const RECT& dirty) override;
  void ClearImageCache() override;
  void HandleMessage(EventArgs& args) override;
  bool MouseEnter(EventArgs& args) override;
  bool MouseLeave(EventArgs& args) override;
  bool ButtonUp(EventArgs& args) override;

  void SetOwner(ScrollableBox* owner) { owner_ = owner; }
  ScrollableBox* GetOwner() const { return owner_; }
  bool IsHorizontal() const { return horizontal_; }
  void SetHorizontal(bool horizontal);
  int64_t GetScrollRange() const { return range_; }
  void SetScrollRange(int64_t range);
  int64_t GetScrollPos() const { return value_; }
  void SetScrollPos(int64_t value);
  int GetLineSize() const { return line_size_; }
  void SetLineSize(int size) { line_size_ = size; }
  int GetThumbMinLength() const { return thumb_min_length_; }
  bool IsShowButton1() const { return show_button1_; }
  bool IsShowButton2() const { return show_button2_; }
  bool IsAutoHideScroll() const { return auto_hide_; }
  void SetAutoHideScroll(bool value) { auto_hide_ = value; }
  RECT GetButton1Rect() const { return button1_; }
  RECT GetButton2Rect() const { return button2_; }
  RECT GetThumbRect() const { return thumb_; }
  // One tick of the 50 ms auto-repeat timer.
  void ScrollTimeHandle();

 private:
  enum Part { kBackground, kButton1, kButton2, kThumb, kRail, kPartCount };

  void PressAt(POINT point);
  void StepBack();
  void StepForward();
  void PageBack();
  void PageForward();
  void PaintPart(IRenderContext* context, Part part, ControlStateType state, const RECT& rect);
  void SetPartStates(ControlStateType state);
  int Thickness() const { return horizontal_ ? cy_fixed_ : cx_fixed_; }
  int Along(POINT point) const { return horizontal_ ? point.x : point.y; }

  bool horizontal_ = false;
  bool show_button1_ = true;
  bool show_button2_ = true;
  bool auto_hide_ = true;
  int64_t range_ = 100;
  int64_t value_ = 0;
  int line_size_ = 8;
  int thumb_min_length_ = 30;
  int drag_start_value_ = 0;
  int drag_offset_ = 0;
  int repeat_ticks_ = 0;
  ScrollableBox* owner_ = nullptr;
  POINT press_point_ = {0, 0};
  RECT button1_ = {0, 0, 0, 0};
  RECT button2_ = {0, 0, 0, 0};
  RECT thumb_ = {0, 0, 0, 0};
  ControlStateType button1_state_ = kControlStateNormal;
  ControlStateType button2_state_ = kControlStateNormal;
  ControlStateType thumb_state_ = kControlStateNormal;
  std::wstring image_modify_;
  StateImage part_images_[kPartCount];
  base::WeakCallbackFlag repeat_token_;
};

}  // namespace ui
