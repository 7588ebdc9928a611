// The fade players of one control: alpha, hot state, width, height and four slide-ins.
#pragma once

#include <map>
#include <memory>

#include "timing/AnimationPlayer.h"

namespace ui {

class Control;

enum AnimationType {
  kAnimationAlpha = 1,
  kAnimationHeight = 2,
  kAnimationWidth = 3,
  kAnimationHot = 4,
  kAnimationInoutXFromLeft = 5,
  kAnimationInoutXFromRight = 6,
  kAnimationInoutYFromTop = 7,
  kAnimationInoutYFromBottom = 8,
};

class AnimationManager {
 public:
  explicit AnimationManager(Control* control) : control_(control) {}

  AnimationPlayer* GetAnimationPlayer(AnimationType type) const;
  AnimationPlayer* SetFadeAlpha(bool enable);
  AnimationPlayer* SetFadeHot(bool enable);
  AnimationPlayer* SetFadeWidth(bool enable);
  AnimationPlayer* SetFadeHeight(bool enable);
  AnimationPlayer* SetFadeInOutX(bool enable, bool from_right);
  AnimationPlayer* SetFadeInOutY(bool enable, bool from_bottom);
  // A fresh alpha fade (0 to 255 over 250 ms) in place of any earlier one.
  AnimationPlayer* ResetFadeAlpha();

  void Appear();
  void Disappear();
  void MouseEnter();
  void MouseLeave();
  void Clear() { players_.clear(); }

 private:
  AnimationPlayer* Add(AnimationType type, int start, int end, const std::function<void(int)>& apply);
  void Remove(AnimationType type) { players_.erase(type); }

  Control* control_;
  std::map<int, std::unique_ptr<AnimationPlayer>> players_;
};

}  // namespace ui
