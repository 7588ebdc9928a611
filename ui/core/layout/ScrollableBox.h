// A box whose content scrolls: optional vertical and horizontal bars, keyboard, wheel and
// touch scrolling, animated line steps and an animated render offset.
#pragma once

#include <memory>

#include "layout/Box.h"
#include "timing/AnimationPlayer.h"

namespace ui {

class ScrollBar;

class ScrollableBox : public Box {
 public:
  explicit ScrollableBox(Layout* layout = new Layout());
  ~ScrollableBox() override;

  void SetWindow(Window* window, Box* parent, bool init) override;
  using Box::SetWindow;
  void SetPos(RECT rect) override;
  void SetMouseEnabled(bool enabled) override;
  Control* FindControl(const FindControlCallback& callback, void* data, unsigned flags,
                       POINT scroll_offset = POINT{0, 0}) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintChild(IRenderContext* context, const RECT& dirty) override;
  void HandleMessage(EventArgs& args) override;
  bool MouseEnter(EventArgs& args) override;
  bool MouseLeave(EventArgs& args) override;
  void ClearImageCache() override;

  virtual SIZE GetScrollPos() const;
  virtual SIZE GetScrollRange() const;
  virtual void SetScrollPos(SIZE pos);
  void SetScrollPosY(int y);
  void SetScrollPosX(int x);
  void LineUp(int delta = -1, bool with_animation = true);
  void LineDown(int delta = -1, bool with_animation = true);
  void LineLeft(int delta = -1);
  void LineRight(int delta = -1);
  void PageUp();
  void PageDown();
  void HomeUp();
  void EndDown(bool arrange = true, bool with_animation = true);
  void PageLeft();
  void PageRight();
  void HomeLeft();
  void EndRight();
  void ScrollUpBy(int pixels);
  void ScrollDownBy(int pixels);
  void EnableScrollBar(bool vertical = true, bool horizontal = false);
  ScrollBar* GetVerticalScrollBar() const { return vertical_bar_.get(); }
  ScrollBar* GetHorizontalScrollBar() const { return horizontal_bar_.get(); }
  int GetVerScrollUnit() const { return ver_unit_; }
  void SetVerScrollUnit(int unit) { ver_unit_ = unit; }
  bool IsHoldEnd() const { return hold_end_; }
  void SetHoldEnd(bool value) { hold_end_ = value; }
  AnimationPlayer& GetScrollAnimation() { return scroll_animation_; }

 protected:
  virtual void ProcessVScrollBar(RECT rect, int required_height);
  virtual void ProcessHScrollBar(RECT rect, int required_width);
  virtual SIZE CalcRequiredSize(RECT rect);
  void Rearrange(RECT rect);
  bool IsVerticalInUse() const;
  bool IsHorizontalInUse() const;
  int Step(int delta, int unit) const;
  // GIF players run only for children near the visible part.
  void LoadImageCache(bool from_top);

  std::unique_ptr<ScrollBar> vertical_bar_;
  std::unique_ptr<ScrollBar> horizontal_bar_;
  int ver_unit_ = 30;
  int hor_unit_ = 30;
  bool in_process_ = false;
  bool hold_end_ = false;
  bool bar_float_ = true;
  bool default_display_bar_ = true;
  RECT bar_padding_ = {0, 0, 0, 0};
  POINT last_touch_ = {-1, -1};
  bool first_paint_ = true;
  AnimationPlayer scroll_animation_;
  AnimationPlayer render_offset_animation_;
};

}  // namespace ui
