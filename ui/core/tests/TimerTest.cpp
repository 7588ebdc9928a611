// The timer manager: due order, repeats, dead owners and the period of its multimedia timer,
// on a clock the test moves; plus one run on the real multimedia timer.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "FakeTimerPlatform.h"

namespace ui {
namespace {

class Timers : public testing::Test {
 protected:
  Timers() {
    auto platform = std::make_unique<FakeTimerPlatform>();
    fake_ = platform.get();
    manager_ = std::make_unique<TimerManager>(std::move(platform));
  }
  // Moves the clock and runs what is due, as a tick of the multimedia timer would.
  void Tick(double ms) {
    fake_->AdvanceMs(ms);
    manager_->Poll();
  }

  FakeTimerPlatform* fake_;
  std::unique_ptr<TimerManager> manager_;
  base::WeakCallbackFlag owner_;
  std::string log_;
};

TEST_F(Timers, RunsInDueOrderAndRepeatsAsAsked) {
  manager_->AddTimer(
      owner_.GetWeakFlag(), [this] { log_ += "b"; }, 20, 2);
  manager_->AddTimer(
      owner_.GetWeakFlag(), [this] { log_ += "a"; }, 10, 1);
  EXPECT_EQ(fake_->periods, std::vector<UINT>{16});
  Tick(9);
  EXPECT_EQ(log_, "");
  Tick(1);
  EXPECT_EQ(log_, "a");
  Tick(10);
  EXPECT_EQ(log_, "ab");
  Tick(20);
  EXPECT_EQ(log_, "abb");
  EXPECT_FALSE(fake_->running);  // nothing left: the multimedia timer stops
  Tick(100);
  EXPECT_EQ(log_, "abb");
}

TEST_F(Timers, DeadOrCancelledOwnerDropsTheTimer) {
  {
    base::WeakCallbackFlag window;
    manager_->AddTimer(
        window.GetWeakFlag(), [this] { log_ += "closed"; }, 300, 1);
  }
  manager_->AddTimer(
      owner_.GetWeakFlag(), [this] { log_ += "x"; }, 10, -1);
  Tick(10);
  Tick(10);
  owner_.Cancel();
  Tick(300);
  EXPECT_EQ(log_, "xx");
  EXPECT_FALSE(fake_->running);
}

TEST_F(Timers, FarTimerUsesLongPeriodThenSixteenMilliseconds) {
  manager_->AddTimer(
      owner_.GetWeakFlag(), [this] { log_ += "late"; }, 10000, 1);
  Tick(16);
  EXPECT_EQ(fake_->periods.back(), 9984u + 2);
  Tick(9500);
  EXPECT_EQ(fake_->periods.back(), 16u);
  Tick(484);
  EXPECT_EQ(log_, "late");
  EXPECT_FALSE(fake_->running);
  manager_->AddTimer(
      owner_.GetWeakFlag(), [] {}, 10, 1);
  EXPECT_TRUE(fake_->running);
  EXPECT_EQ(fake_->periods.back(), 16u);
}

// Wine refuses periods above the device's maximum (65,535 ms): a far timer's period is capped
// and reached in steps.
TEST_F(Timers, FarTimerBeyondTheLongestPeriodIsReachedInSteps) {
  manager_->AddTimer(
      owner_.GetWeakFlag(), [this] { log_ += "late"; }, 100000, 1);
  Tick(16);
  EXPECT_EQ(fake_->periods.back(), 65535u);
  EXPECT_TRUE(fake_->running);
  Tick(65535);
  EXPECT_EQ(fake_->periods.back(), 100000u - 16 - 65535 + 2);
  Tick(34000);
  EXPECT_EQ(fake_->periods.back(), 16u);
  Tick(449);
  EXPECT_EQ(log_, "late");
}

TEST_F(Timers, RefusedPeriodFallsBackToSixteenMillisecondsOrIsRetried) {
  fake_->accepted_max = 1000;
  manager_->AddTimer(
      owner_.GetWeakFlag(), [this] { log_ += "a"; }, 10000, 1);
  Tick(16);
  EXPECT_EQ(fake_->periods.back(), 16u);  // the long period was refused
  EXPECT_TRUE(fake_->running);
  Tick(9984);
  EXPECT_EQ(log_, "a");

  fake_->accepted_max = 0;  // no timer at all: the next AddTimer tries again
  manager_->AddTimer(
      owner_.GetWeakFlag(), [this] { log_ += "b"; }, 10, 1);
  EXPECT_FALSE(fake_->running);
  fake_->accepted_max = 65535;
  manager_->AddTimer(
      owner_.GetWeakFlag(), [this] { log_ += "c"; }, 20, 1);
  EXPECT_TRUE(fake_->running);
  Tick(20);
  EXPECT_EQ(log_, "abc");
}

TEST_F(Timers, ZeroIntervalRepeatingTimerRunsOncePerPass) {
  int runs = 0;
  manager_->AddTimer(
      owner_.GetWeakFlag(), [&runs] { ++runs; }, 0, -1);
  Tick(0);
  EXPECT_EQ(runs, 1);
  Tick(1);
  EXPECT_EQ(runs, 2);
}

TEST_F(Timers, CallbackMayAddTimers) {
  manager_->AddTimer(
      owner_.GetWeakFlag(),
      [this] {
        log_ += "outer";
        manager_->AddTimer(
            owner_.GetWeakFlag(), [this] { log_ += "+inner"; }, 5, 1);
      },
      5, 1);
  Tick(5);
  Tick(5);
  EXPECT_EQ(log_, "outer+inner");
}

// The process's manager on the real multimedia timer and the thread's message queue.
TEST(RealTimer, RunsOnThisThreadWithinGenerousBounds) {
  TimerManager* manager = TimerManager::GetInstance();
  base::WeakCallbackFlag owner;
  const DWORD thread = GetCurrentThreadId();
  int runs = 0;
  bool same_thread = true;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  manager->AddTimer(
      owner.GetWeakFlag(),
      [&] {
        same_thread = same_thread && GetCurrentThreadId() == thread;
        if (++runs == 3) QueryPerformanceCounter(&end);
      },
      50, 3);
  const DWORD deadline = GetTickCount() + 10000;
  MSG message;
  while (runs < 3 && GetTickCount() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  ASSERT_EQ(runs, 3);
  EXPECT_TRUE(same_thread);
  const double elapsed_ms = (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
  EXPECT_GE(elapsed_ms, 149.0);
  EXPECT_LT(elapsed_ms, 3000.0);
}

// The real multimedia timer accepts the capped period of a timer due in 100 s.
TEST(RealTimer, FarTimerKeepsAMultimediaTimerRunning) {
  class Recording : public TimerPlatform {
   public:
    int64_t Frequency() override { return system->Frequency(); }
    int64_t Now() override { return system->Now(); }
    UINT MaxPeriod() override { return system->MaxPeriod(); }
    UINT StartPeriodic(UINT period_ms, HWND window) override {
      started.push_back({period_ms, system->StartPeriodic(period_ms, window)});
      return started.back().second;
    }
    void Stop(UINT id) override { system->Stop(id); }

    std::unique_ptr<TimerPlatform> system = TimerManager::SystemPlatform();
    std::vector<std::pair<UINT, UINT>> started;  // period, identifier
  };
  auto platform = std::make_unique<Recording>();
  Recording* recording = platform.get();
  TimerManager manager(std::move(platform));
  base::WeakCallbackFlag owner;
  manager.AddTimer(
      owner.GetWeakFlag(), [] {}, 100000, 1);
  manager.Poll();
  ASSERT_EQ(recording->started.size(), 2u);
  EXPECT_GT(recording->started.back().first, 60000u);
  EXPECT_NE(recording->started.back().second, 0u);
}

}  // namespace
}  // namespace ui
