// The animation player: the three curve phases as tables, ends, reversal and the time cap,
// ticked by a timer manager on a clock the test moves.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "timing/AnimationPlayer.h"
#include "FakeTimerPlatform.h"

namespace ui {
namespace {

class Animation : public testing::Test {
 protected:
  Animation() {
    auto platform = std::make_unique<FakeTimerPlatform>();
    fake_ = platform.get();
    timers_ = std::make_unique<TimerManager>(std::move(platform));
  }
  std::unique_ptr<AnimationPlayer> Player(int start, int end, int total) {
    auto player = std::make_unique<AnimationPlayer>(timers_.get());
    player->SetStartValue(start);
    player->SetEndValue(end);
    player->SetTotalMillSeconds(total);
    player->SetCallback([this](int value) { values_.push_back(value); });
    player->SetCompleteCallback([this] { ++completions_; });
    return player;
  }
  // Moves the clock to `ms` after the start and returns the last value reported.
  int ValueAt(double ms) {
    fake_->now = start_ + static_cast<int64_t>(ms * 1000);
    timers_->Poll();
    return values_.empty() ? INT32_MIN : values_.back();
  }
  void Begin(AnimationPlayer& player) {
    start_ = fake_->now;
    player.Start();
  }

  FakeTimerPlatform* fake_;
  std::unique_ptr<TimerManager> timers_;
  int64_t start_ = 0;
  std::vector<int> values_;
  int completions_ = 0;
};

struct CurvePoint {
  double ms;
  int value;
};

struct Curve {
  const char* name;
  double speed_up;
  double slow_down;
  std::vector<CurvePoint> points;  // distance 1000 over 1000 ms
};

TEST_F(Animation, CurvesFollowTheirPhases) {
  const Curve curves[] = {
      {"uniform", 0, 0, {{100, 100}, {500, 500}, {999, 999}}},
      {"speed-up", 1, 0, {{250, 62}, {500, 250}, {900, 810}}},    // 1000 (t/T)^2
      {"slow-down", 0, 1, {{250, 437}, {500, 750}, {900, 990}}},  // 1000 (1 - (1 - t/T)^2)
      {"speed-up then slow-down", 0.5, 0.5, {{250, 125}, {500, 500}, {750, 875}}},
      {"all three phases", 0.25, 0.25, {{125, 41}, {250, 166}, {500, 500}, {875, 958}}},
  };
  for (const Curve& curve : curves) {
    SCOPED_TRACE(curve.name);
    values_.clear();
    auto player = Player(0, 1000, 1000);
    player->SetSpeedUpRatio(curve.speed_up);
    player->SetSpeedDownRatio(curve.slow_down);
    Begin(*player);
    for (const CurvePoint& point : curve.points)
      EXPECT_NEAR(ValueAt(point.ms), point.value, 1) << point.ms;
    EXPECT_EQ(ValueAt(1000), 1000);
  }
}

TEST_F(Animation, DescendingValuesAndExactEnd) {
  auto player = Player(255, 0, 250);
  player->SetSpeedUpRatio(0.3);
  player->SetSpeedDownRatio(0.7);
  Begin(*player);
  EXPECT_EQ(values_, std::vector<int>{255});  // the first tick reports the start value
  int previous = 255;
  for (double ms = 10; ms < 250; ms += 10) {
    const int value = ValueAt(ms);
    EXPECT_LE(value, previous);
    previous = value;
  }
  EXPECT_EQ(ValueAt(400), 0);  // far past the end: exactly the end value
  EXPECT_EQ(completions_, 1);
  EXPECT_FALSE(player->IsPlaying());
  ValueAt(600);
  EXPECT_EQ(completions_, 1);
  EXPECT_FALSE(fake_->running);  // its timer is gone
}

TEST_F(Animation, PlayEndingAtOnceAddsNoTimer) {
  auto equal = Player(7, 7, 250);
  Begin(*equal);
  EXPECT_EQ(completions_, 1);
  EXPECT_TRUE(values_.empty());
  auto instant = Player(0, 10, 0);
  Begin(*instant);
  EXPECT_EQ(completions_, 2);
  EXPECT_EQ(values_, std::vector<int>{10});
  EXPECT_TRUE(fake_->periods.empty());  // no timer was added
}

TEST_F(Animation, ReverseMirrorsElapsedTimeAfterTheFirstRun) {
  auto player = Player(0, 250, 250);
  Begin(*player);
  ValueAt(100);
  player->Reverse();  // first run: the reverse path starts from its beginning
  start_ = fake_->now;
  EXPECT_EQ(values_.back(), 100);
  EXPECT_EQ(ValueAt(10), 240);

  player->Continue();  // forward again from the mirrored time, 240 ms
  EXPECT_EQ(values_.back(), 240);
  player->Reverse();  // no longer the first run: 240 ms forward mirror to 10 ms back
  start_ = fake_->now;
  EXPECT_EQ(ValueAt(5), 235);
}

TEST_F(Animation, CurveWithoutTimeOrCoefficientsIsCapped) {
  auto player = Player(0, 1000, -1);
  player->SetSpeedUpRatio(0.3);  // no total time and no coefficient: the time is capped
  Begin(*player);
  EXPECT_TRUE(player->IsPlaying());
  EXPECT_LT(ValueAt(AnimationPlayer::kMaxTotalMillSeconds - 1), 1000);
  EXPECT_EQ(ValueAt(AnimationPlayer::kMaxTotalMillSeconds + 1000), 1000);  // the next tick

  auto tiny = Player(0, 1000, -1);
  tiny->SetSpeedUpRatio(1);
  tiny->SetAcceleration(1e-12);  // would take hours
  Begin(*tiny);
  EXPECT_EQ(ValueAt(AnimationPlayer::kMaxTotalMillSeconds), 1000);
}

TEST_F(Animation, StepIsAtLeastOneMillisecond) {
  auto player = Player(0, 255, 250);
  Begin(*player);
  EXPECT_NEAR(ValueAt(1), 1, 1);
  EXPECT_EQ(ValueAt(125), 127);
}

}  // namespace
}  // namespace ui
