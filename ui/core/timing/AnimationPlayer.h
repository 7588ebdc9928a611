// Animates an integer from a start to an end value over time, reporting each new value;
// AnimationPlayer adds the curve: speed-up, uniform and slow-down phases.
#pragma once

#include <cstdint>
#include <functional>

#include "base/WeakCallback.h"

namespace ui {

class TimerManager;

class AnimationPlayerBase : public base::SupportWeakCallback {
 public:
  // Ticks come from `timers` (the process's manager when null).
  explicit AnimationPlayerBase(TimerManager* timers = nullptr);

  virtual void Init();
  virtual void Start();
  virtual void Stop();
  virtual void Continue();
  virtual void Reverse();
  virtual void StartTimer();
  virtual int GetCurrentValue() = 0;
  // One tick now, outside the timer, while playing.
  void Advance() {
    if (playing_) Play();
  }

  void SetStartValue(int value) { start_value_ = value; }
  void SetEndValue(int value) { end_value_ = value; }
  void SetTotalMillSeconds(int total) { total_millseconds_ = total; }
  void SetCallback(const std::function<void(int)>& callback) { play_callback_ = callback; }
  void SetCompleteCallback(const std::function<void()>& callback) { complete_callback_ = callback; }
  int GetStartValue() const { return start_value_; }
  int GetEndValue() const { return end_value_; }
  int GetTotalMillSeconds() const { return total_millseconds_; }
  bool IsPlaying() const { return playing_; }

 protected:
  // One tick: advances the elapsed time and reports the value.
  void Play();
  void SwapDirection();

  TimerManager* timers_;
  int start_value_ = 0;
  int end_value_ = 0;
  int current_value_ = 0;
  int total_millseconds_ = -1;
  double elapsed_ = 0;
  int step_ = 0;
  bool first_run_ = true;
  bool playing_ = false;
  bool reversed_ = false;
  // Declared so that the token goes first, then the complete and the play callbacks.
  std::function<void(int)> play_callback_;
  std::function<void()> complete_callback_;
  int64_t last_counter_ = 0;
  int64_t frequency_ = 0;
  base::WeakCallbackFlag timer_token_;
};

class AnimationPlayer : public AnimationPlayerBase {
 public:
  static constexpr int kMaxTotalMillSeconds = 1000000;

  explicit AnimationPlayer(TimerManager* timers = nullptr) : AnimationPlayerBase(timers) {}

  void Init() override;
  void StartTimer() override;
  int GetCurrentValue() override;
  virtual void SetAcceleration(double coefficient) { speed_up_factor_ = coefficient; }
  virtual void SetDeceleration(double coefficient) { slow_down_factor_ = coefficient; }

  void SetSpeedUpRatio(double ratio) { speed_up_ratio_ = ratio; }
  void SetSpeedDownRatio(double ratio) { slow_down_ratio_ = ratio; }
  void SetLinearSpeed(double speed) { linear_speed_ = speed; }

 private:
  // Solves the curve for the distance, ratios, total time and coefficients.
  void InitFactor();
  void SolveCoefficients(double distance, int total);

  double speed_up_ratio_ = 0;
  double slow_down_ratio_ = 0;
  double speed_up_time_ = 0;
  double linear_speed_ = 0;
  double linear_time_ = 0;
  double slow_down_time_ = 0;
  double speed_up_factor_ = 0;
  double slow_down_factor_ = 0;
  double slow_down_start_speed_ = 0;
  double half_uniform_speed_ = 0;
  int max_total_millseconds_ = kMaxTotalMillSeconds;
};

}  // namespace ui
