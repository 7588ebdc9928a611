#include "timing/TimerManager.h"

#include <mmsystem.h>

#include <algorithm>

namespace ui {
namespace {

constexpr wchar_t kWindowClass[] = L"UI_ANIMATION_TIMERMANAGER_H_";
// Period cap when the timer device cannot be asked; a far timer is then reached in steps.
constexpr UINT kFallbackMax = 1000;

void CALLBACK OnMultimediaTimer(UINT, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR) {
  PostMessageW(reinterpret_cast<HWND>(window), TimerManager::kTimerMessage, 0, 0);
}

class SystemTimerPlatform : public TimerPlatform {
 public:
  int64_t Frequency() override {
    LARGE_INTEGER frequency = {};
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
  }
  int64_t Now() override {
    LARGE_INTEGER now = {};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
  }
  UINT MaxPeriod() override {
    TIMECAPS caps = {};
    return timeGetDevCaps(&caps, sizeof(caps)) == TIMERR_NOERROR ? caps.wPeriodMax : kFallbackMax;
  }
  UINT StartPeriodic(UINT period_ms, HWND window) override {
    return timeSetEvent(period_ms, 1, OnMultimediaTimer, reinterpret_cast<DWORD_PTR>(window),
                        TIME_PERIODIC);
  }
  void Stop(UINT id) override { timeKillEvent(id); }
};

LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == TimerManager::kTimerMessage) {
    if (auto* manager = reinterpret_cast<TimerManager*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
      manager->Poll();
    return 1;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

HWND CreateMessageWindow(TimerManager* manager) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = TimerWindowProc;
  window_class.hInstance = module;
  window_class.lpszClassName = kWindowClass;
  RegisterClassExW(&window_class);  // fails harmlessly when already registered
  HWND window = CreateWindowExW(0, kWindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                module, nullptr);
  if (window) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(manager));
  return window;
}

}  // namespace

TimerManager* TimerManager::GetInstance() {
  static TimerManager instance(SystemPlatform());
  return &instance;
}

std::unique_ptr<TimerPlatform> TimerManager::SystemPlatform() {
  return std::make_unique<SystemTimerPlatform>();
}

TimerManager::TimerManager(std::unique_ptr<TimerPlatform> platform)
    : platform_(std::move(platform)),
      frequency_(platform_->Frequency()),
      max_period_(std::max(platform_->MaxPeriod(), kFastPeriod)) {
  window_ = CreateMessageWindow(this);
}

TimerManager::~TimerManager() {
  StopPeriodic();
  if (window_) DestroyWindow(window_);
}

bool TimerManager::AddTimer(const std::weak_ptr<base::WeakFlag>& owner,
                            const std::function<void()>& callback, int interval_ms, int repeat) {
  const int64_t interval = interval_ms * frequency_ / 1000;
  timers_.push(TimerTask{callback, interval, repeat, platform_->Now() + interval, owner});
  if (timer_id_ == 0 || !fast_mode_) Restart(kFastPeriod);
  return true;
}

void TimerManager::Poll() {
  const int64_t now = platform_->Now();
  while (!timers_.empty()) {
    const int64_t remaining = timers_.top().due - now;
    if (remaining > 0) {
      Rearm(remaining);
      return;
    }
    TimerTask task = timers_.top();
    timers_.pop();
    if (task.owner.expired()) continue;
    task.callback();
    if (task.repeat != -1 && task.repeat < 2) continue;
    if (task.repeat >= 2) --task.repeat;
    // Never due again within this pass, so a zero interval cannot hold the loop.
    task.due = now + std::max<int64_t>(task.interval, 1);
    timers_.push(std::move(task));
  }
  StopPeriodic();
}

void TimerManager::Rearm(int64_t remaining) {
  if (remaining < frequency_) {
    if (!fast_mode_ || timer_id_ == 0) Restart(kFastPeriod);
    return;
  }
  const double period_ms = remaining * 1000.0 / frequency_ + 2;
  Restart(period_ms < max_period_ ? static_cast<UINT>(period_ms) : max_period_);
}

void TimerManager::Restart(UINT period_ms) {
  if (timer_id_) platform_->Stop(timer_id_);
  timer_id_ = platform_->StartPeriodic(period_ms, window_);
  if (timer_id_ == 0 && period_ms != kFastPeriod) {
    period_ms = kFastPeriod;
    timer_id_ = platform_->StartPeriodic(period_ms, window_);
  }
  fast_mode_ = period_ms == kFastPeriod;
}

void TimerManager::StopPeriodic() {
  if (timer_id_) platform_->Stop(timer_id_);
  timer_id_ = 0;
}

}  // namespace ui
