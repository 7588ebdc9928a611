// A control's fade players, run by the process's timer manager (the test pumps messages).
#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "control/Control.h"

namespace ui {
namespace {

TEST(AnimationManager, DisappearWithoutPlayersHidesAtOnce) {
  Control control;
  control.SetFadeVisible(false);
  EXPECT_FALSE(control.IsVisible());
  EXPECT_EQ(control.GetAlpha(), 255);
}

TEST(AnimationManager, AlphaFadeRunsInAndSwitchingItOffLeavesOpaque) {
  Control control;
  control.SetAttribute(L"fadealpha", L"true");
  EXPECT_EQ(control.GetAlpha(), 0);
  control.SetFadeVisible(true);
  EXPECT_TRUE(PumpUntil([&] { return control.GetAlpha() == 255; }, 2000));
  control.SetFadeVisible(false);
  EXPECT_TRUE(PumpUntil([&] { return !control.IsVisible(); }, 2000));
  EXPECT_EQ(control.GetAlpha(), 0);
  control.SetAttribute(L"fadealpha", L"false");
  EXPECT_EQ(control.GetAlpha(), 255);
}

TEST(AnimationManager, WidthFadeHidesOnlyAtZeroAndAppearCancelsTheHide) {
  Control control;
  control.SetFixedWidth(200, false, false);
  control.SetFixedHeight(10, false);
  control.SetAttribute(L"fadewidth", L"true");
  AnimationPlayer* player = control.GetAnimationManager().GetAnimationPlayer(kAnimationWidth);
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(player->GetEndValue(), 200);
  control.SetFadeVisible(true);
  EXPECT_TRUE(PumpUntil([&] { return control.GetFixedWidth() == 200; }, 3000));
  control.SetFadeVisible(false);
  control.SetFadeVisible(true);  // before the width ran back: the hide is dropped
  PumpFor(300);
  EXPECT_TRUE(control.IsVisible());
  EXPECT_TRUE(PumpUntil([&] { return control.GetFixedWidth() == 200; }, 3000));
  control.SetFadeVisible(false);
  int width_when_hidden = -1;
  EXPECT_TRUE(PumpUntil([&] {
    if (!control.IsVisible() && width_when_hidden < 0) width_when_hidden = control.GetFixedWidth();
    return !control.IsVisible();
  }, 3000));
  EXPECT_EQ(width_when_hidden, 0);
}

TEST(AnimationManager, SlideInOfAnEmptyControlStartsAHundredAway) {
  Control control;
  control.SetFixedWidth(0, false, false);
  control.SetFixedHeight(0, false);
  EXPECT_EQ(control.GetAnimationManager().SetFadeInOutX(true, false)->GetStartValue(), 100);
  EXPECT_EQ(control.GetAnimationManager().SetFadeInOutY(true, true)->GetStartValue(), -100);
}

TEST(AnimationManager, HoverWithoutHotFadeChangesNoAlpha) {
  Control control;
  control.SetPos(RECT{0, 0, 10, 10});
  control.SendEvent(kEventMouseEnter);
  EXPECT_EQ(control.GetState(), kControlStateHot);
  EXPECT_EQ(control.GetHotAlpha(), 0);
  control.SetAttribute(L"hotcolor", L"red");
  control.SendEvent(kEventMouseLeave);
  control.SendEvent(kEventMouseEnter);
  EXPECT_TRUE(PumpUntil([&] { return control.GetHotAlpha() == 255; }, 2000));
}

}  // namespace
}  // namespace ui
