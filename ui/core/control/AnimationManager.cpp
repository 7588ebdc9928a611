#include "control/AnimationManager.h"

#include "control/Control.h"

namespace ui {
namespace {

constexpr AnimationType kAppearOrder[] = {kAnimationAlpha,          kAnimationWidth,
                                          kAnimationHeight,         kAnimationInoutXFromLeft,
                                          kAnimationInoutXFromRight, kAnimationInoutYFromTop,
                                          kAnimationInoutYFromBottom};

SIZE EstimateFull(Control* control) { return control->EstimateSize(SIZE{999999, 999999}); }

}  // namespace

AnimationPlayer* AnimationManager::GetAnimationPlayer(AnimationType type) const {
  auto found = players_.find(type);
  return found == players_.end() ? nullptr : found->second.get();
}

AnimationPlayer* AnimationManager::Add(AnimationType type, int start, int end,
                                       const std::function<void(int)>& apply) {
  auto player = std::make_unique<AnimationPlayer>();
  player->SetStartValue(start);
  player->SetEndValue(end);
  player->SetSpeedUpRatio(0.3);
  player->SetSpeedDownRatio(0.7);
  player->SetCallback(control_->MakeWeakCallback(apply));
  AnimationPlayer* raw = player.get();
  players_[type] = std::move(player);
  return raw;
}

AnimationPlayer* AnimationManager::ResetFadeAlpha() {
  Control* control = control_;
  AnimationPlayer* player =
      Add(kAnimationAlpha, 0, 255, [control](int value) { control->SetAlpha(value); });
  player->SetTotalMillSeconds(250);
  return player;
}

AnimationPlayer* AnimationManager::SetFadeAlpha(bool enable) {
  if (!enable) {
    Remove(kAnimationAlpha);
    control_->SetAlpha(255);
    return nullptr;
  }
  AnimationPlayer* player = ResetFadeAlpha();
  control_->SetAlpha(0);
  return player;
}

AnimationPlayer* AnimationManager::SetFadeHot(bool enable) {
  if (!enable) {
    Remove(kAnimationHot);
    return nullptr;
  }
  Control* control = control_;
  AnimationPlayer* player =
      Add(kAnimationHot, 0, 255, [control](int value) { control->SetHotAlpha(value); });
  player->SetTotalMillSeconds(250);
  return player;
}

AnimationPlayer* AnimationManager::SetFadeWidth(bool enable) {
  if (!enable) {
    Remove(kAnimationWidth);
    return nullptr;
  }
  Control* control = control_;
  AnimationPlayer* player = Add(kAnimationWidth, 0, EstimateFull(control_).cx, [control](int value) {
    control->SetFixedWidth(value, true, false);
  });
  player->SetAcceleration(0.00084);
  return player;
}

AnimationPlayer* AnimationManager::SetFadeHeight(bool enable) {
  if (!enable) {
    Remove(kAnimationHeight);
    return nullptr;
  }
  Control* control = control_;
  AnimationPlayer* player = Add(kAnimationHeight, 0, EstimateFull(control_).cy,
                                [control](int value) { control->SetFixedHeight(value, false); });
  player->SetAcceleration(0.00084);
  return player;
}

AnimationPlayer* AnimationManager::SetFadeInOutX(bool enable, bool from_right) {
  const AnimationType type = from_right ? kAnimationInoutXFromRight : kAnimationInoutXFromLeft;
  if (!enable) {
    Remove(type);
    return nullptr;
  }
  int width = EstimateFull(control_).cx;
  if (width < 1) width = 100;
  Control* control = control_;
  AnimationPlayer* player = Add(type, from_right ? -width : width, 0,
                                [control](int value) { control->SetRenderOffsetX(value); });
  player->SetAcceleration(0.006);
  return player;
}

AnimationPlayer* AnimationManager::SetFadeInOutY(bool enable, bool from_bottom) {
  const AnimationType type = from_bottom ? kAnimationInoutYFromBottom : kAnimationInoutYFromTop;
  if (!enable) {
    Remove(type);
    return nullptr;
  }
  int height = EstimateFull(control_).cy;
  if (height < 1) height = 100;
  Control* control = control_;
  AnimationPlayer* player = Add(type, from_bottom ? -height : height, 0,
                                [control](int value) { control->SetRenderOffsetY(value); });
  player->SetAcceleration(0.006);
  return player;
}

void AnimationManager::Appear() {
  control_->SetVisible(true);
  for (AnimationType type : kAppearOrder) {
    if (AnimationPlayer* player = GetAnimationPlayer(type)) {
      player->SetCompleteCallback(nullptr);
      player->Continue();
    }
  }
}

void AnimationManager::Disappear() {
  Control* control = control_;
  const std::function<void()> hide =
      control_->MakeWeakCallback([control] { control->SetVisible(false); });
  bool any = false;
  for (AnimationType type : kAppearOrder) {
    if (AnimationPlayer* player = GetAnimationPlayer(type)) {
      any = true;
      player->SetCompleteCallback(hide);
      player->Reverse();
    }
  }
  if (!any) control_->SetVisible(false);
}

void AnimationManager::MouseEnter() {
  if (AnimationPlayer* player = GetAnimationPlayer(kAnimationHot)) player->Continue();
}

void AnimationManager::MouseLeave() {
  if (AnimationPlayer* player = GetAnimationPlayer(kAnimationHot)) player->Reverse();
}

}  // namespace ui
