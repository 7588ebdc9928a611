#include "timing/AnimationPlayer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "timing/TimerManager.h"

namespace ui {

AnimationPlayerBase::AnimationPlayerBase(TimerManager* timers)
    : timers_(timers ? timers : TimerManager::GetInstance()) {}

void AnimationPlayerBase::Init() {
  total_millseconds_ = -1;
  start_value_ = end_value_ = current_value_ = 0;
  elapsed_ = 0;
  step_ = 0;
  last_counter_ = frequency_ = 0;
  playing_ = reversed_ = false;
}

void AnimationPlayerBase::Start() {
  timer_token_.Cancel();
  elapsed_ = 0;
  reversed_ = false;
  StartTimer();
}

void AnimationPlayerBase::Stop() { timer_token_.Cancel(); }

void AnimationPlayerBase::SwapDirection() {
  std::swap(start_value_, end_value_);
  current_value_ = start_value_;
  elapsed_ = std::max(0.0, total_millseconds_ - elapsed_);
}

void AnimationPlayerBase::Continue() {
  timer_token_.Cancel();
  if (reversed_) SwapDirection();
  reversed_ = false;
  StartTimer();
  first_run_ = false;
}

void AnimationPlayerBase::Reverse() {
  timer_token_.Cancel();
  if (!reversed_) SwapDirection();
  if (first_run_) elapsed_ = 0;
  reversed_ = true;
  StartTimer();
  first_run_ = false;
}

void AnimationPlayerBase::StartTimer() {
  frequency_ = timers_->Frequency();
  last_counter_ = timers_->Now();
  playing_ = true;
  if (start_value_ == end_value_) {
    if (complete_callback_) complete_callback_();
    timer_token_.Cancel();
    playing_ = false;
    return;
  }
  step_ = std::max(1, total_millseconds_ / std::abs(end_value_ - start_value_));
  Play();
  if (!playing_) return;  // finished on the first tick
  timers_->AddTimer(timer_token_.GetWeakFlag(), MakeWeakCallback([this] { Play(); }), step_, -1);
}

void AnimationPlayerBase::Play() {
  const int64_t now = timers_->Now();
  elapsed_ += (now - last_counter_) * 1000.0 / frequency_;
  last_counter_ = now;
  const int value = GetCurrentValue();
  const bool reached = (start_value_ < end_value_ && value >= end_value_) ||
                       (end_value_ < start_value_ && value <= end_value_);
  if (reached) {
    // The last report always carries exactly the end value.
    timer_token_.Cancel();
    playing_ = false;
    current_value_ = end_value_;
    if (play_callback_) play_callback_(end_value_);
    if (complete_callback_) complete_callback_();
    return;
  }
  if (play_callback_ && value != current_value_) play_callback_(value);
  current_value_ = value;
}

void AnimationPlayer::Init() {
  AnimationPlayerBase::Init();
  speed_up_ratio_ = slow_down_ratio_ = 0;
  speed_up_time_ = linear_speed_ = linear_time_ = slow_down_time_ = 0;
  speed_up_factor_ = slow_down_factor_ = slow_down_start_speed_ = half_uniform_speed_ = 0;
  max_total_millseconds_ = kMaxTotalMillSeconds;
}

void AnimationPlayer::StartTimer() {
  InitFactor();
  AnimationPlayerBase::StartTimer();
}

void AnimationPlayer::SolveCoefficients(double distance, int total) {
  const double a = speed_up_ratio_, f = slow_down_ratio_;
  if (total != -1) {
    const double t2 = static_cast<double>(total) * total;
    if (a != 0)
      speed_up_factor_ = distance / ((2 * a * (1 - a - f) + a * a + a * f) * t2);
    else
      slow_down_factor_ = -(distance / ((2 * f * (1 - a - f) + f * f + a * f) * t2));
  }
  if (speed_up_factor_ != 0 && a != 0) {
    half_uniform_speed_ = speed_up_factor_ * a;
    if (f != 0) slow_down_factor_ = -(half_uniform_speed_ / f);
  } else if (slow_down_factor_ != 0 && f != 0) {
    half_uniform_speed_ = -(f * slow_down_factor_);
    if (a != 0) speed_up_factor_ = half_uniform_speed_ / a;
  } else {
    half_uniform_speed_ = 0;
  }
}

void AnimationPlayer::InitFactor() {
  const double distance = std::abs(static_cast<double>(end_value_) - start_value_);
  const double a = speed_up_ratio_, f = slow_down_ratio_;
  const double max_total = max_total_millseconds_;
  if (a == 0 && f == 0) {
    if (total_millseconds_ == -1) {
      // In double, so that a missing speed gives the longest play, not an overflow.
      const double total = distance / linear_speed_;
      total_millseconds_ = static_cast<int>(total <= max_total ? total : max_total);
    } else {
      linear_speed_ = distance / total_millseconds_;
    }
    linear_time_ = total_millseconds_;
    return;
  }
  SolveCoefficients(distance, total_millseconds_);
  if (total_millseconds_ == -1) {
    const double denominator = a * a * speed_up_factor_ + 2 * (1 - a - f) * half_uniform_speed_ -
                               f * f * slow_down_factor_;
    const double total = std::sqrt(distance / denominator);
    if (total <= max_total) {
      total_millseconds_ = static_cast<int>(total);
    } else {  // also without coefficients (infinite) or with nonsense ones (NaN)
      total_millseconds_ = max_total_millseconds_;
      SolveCoefficients(distance, total_millseconds_);
    }
  }
  const double total = total_millseconds_;
  linear_speed_ = slow_down_start_speed_ = 2 * half_uniform_speed_ * total;
  speed_up_time_ = total * a;
  slow_down_time_ = total * f;
  linear_time_ = total - total * a - total * f;
}

int AnimationPlayer::GetCurrentValue() {
  const double t = elapsed_;
  if (t >= total_millseconds_) return end_value_;
  double distance;
  if (t <= speed_up_time_) {
    distance = t * t * speed_up_factor_;
  } else if (t <= speed_up_time_ + linear_time_) {
    distance =
        (t - speed_up_time_) * linear_speed_ + speed_up_time_ * speed_up_time_ * speed_up_factor_;
  } else {
    const double u = t - speed_up_time_ - linear_time_;
    distance = speed_up_time_ * speed_up_time_ * speed_up_factor_ + linear_time_ * linear_speed_ +
               u * u * slow_down_factor_ + u * slow_down_start_speed_;
  }
  const double range = std::abs(static_cast<double>(end_value_) - start_value_);
  const int moved =
      static_cast<int>(std::isfinite(distance) ? std::clamp(distance, -range, range) : 0);
  return end_value_ > start_value_ ? start_value_ + moved : start_value_ - moved;
}

}  // namespace ui
