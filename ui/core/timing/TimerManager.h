// The framework's one timer service: a min-heap of timers on the performance counter, driven
// by one multimedia timer whose ticks reach the UI thread as a window message.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <queue>
#include <vector>

#include "base/WeakCallback.h"

namespace ui {

// The clock and the periodic timer the manager runs on; tests supply their own.
class TimerPlatform {
 public:
  virtual ~TimerPlatform() = default;
  virtual int64_t Frequency() = 0;
  virtual int64_t Now() = 0;
  // The longest period the periodic timer accepts.
  virtual UINT MaxPeriod() = 0;
  // Starts a periodic timer that posts the manager's message to `window`; 0 on failure.
  virtual UINT StartPeriodic(UINT period_ms, HWND window) = 0;
  virtual void Stop(UINT id) = 0;
};

class TimerManager {
 public:
  static constexpr UINT kTimerMessage = 11023;
  static constexpr UINT kFastPeriod = 16;

  static TimerManager* GetInstance();
  // QueryPerformanceCounter and the multimedia timer.
  static std::unique_ptr<TimerPlatform> SystemPlatform();
  explicit TimerManager(std::unique_ptr<TimerPlatform> platform);
  ~TimerManager();
  TimerManager(const TimerManager&) = delete;
  TimerManager& operator=(const TimerManager&) = delete;

  // Runs `callback` every `interval_ms` on this thread, `repeat` times (-1: until `owner` dies).
  bool AddTimer(const std::weak_ptr<base::WeakFlag>& owner, const std::function<void()>& callback,
                int interval_ms, int repeat);
  // Runs every due timer and re-arms the periodic timer.
  void Poll();

  int64_t Now() { return platform_->Now(); }
  int64_t Frequency() const { return frequency_; }

 private:
  struct TimerTask {
    std::function<void()> callback;
    int64_t interval;
    int repeat;
    int64_t due;
    std::weak_ptr<base::WeakFlag> owner;
  };
  struct DueLater {
    bool operator()(const TimerTask& a, const TimerTask& b) const { return a.due > b.due; }
  };

  void Rearm(int64_t remaining);
  // Restarts the periodic timer, falling back to the fast period when a longer one is refused.
  void Restart(UINT period_ms);
  void StopPeriodic();

  std::priority_queue<TimerTask, std::vector<TimerTask>, DueLater> timers_;
  std::unique_ptr<TimerPlatform> platform_;
  HWND window_ = nullptr;
  int64_t frequency_;
  UINT max_period_;
  bool fast_mode_ = true;
  UINT timer_id_ = 0;
};

}  // namespace ui
