#include "tessik/TessikThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

namespace {

constexpr DWORD kWaitMs = 5000;

class Event {
 public:
  Event() : handle_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Event() { CloseHandle(handle_); }
  void Set() { SetEvent(handle_); }
  bool Wait(DWORD ms = kWaitMs) { return WaitForSingleObject(handle_, ms) == WAIT_OBJECT_0; }

 private:
  HANDLE handle_;
};

// Records where and how often each operation ran; the step runs a per-test hook.
class RecordingThread : public CTessikThread {
 public:
  ~RecordingThread() override { ConcludeThread(INFINITE, 0); }

  std::function<int()> step_hook = [] { return 1; };
  int start_result = 1;
  std::atomic<int> starts{0}, steps{0}, ends{0}, steps_after_end{0};
  std::atomic<DWORD> start_thread{0}, step_thread{0}, end_thread{0};
  Event started, stepped_three_times, ended;

 protected:
  int ThreadStart() override {
    start_thread = GetCurrentThreadId();
    ++starts;
    started.Set();
    return start_result;
  }
  int ThreadStep() override {
    step_thread = GetCurrentThreadId();
    if (ends > 0) ++steps_after_end;
    if (++steps >= 3) stepped_three_times.Set();
    return step_hook();
  }
  int ThreadEnd() override {
    // Slow on purpose: ConcludeThread must still wait for it.
    Sleep(50);
    end_thread = GetCurrentThreadId();
    ++ends;
    ended.Set();
    return 1;
  }
};

TEST(TessikThreadTest, StartsOnceStepsAndEndsOnTheThreadBeforeConcludeReturns) {
  RecordingThread thread;
  ASSERT_EQ(thread.StartThread(), 1);
  EXPECT_EQ(thread.IsRuning(), 1);
  EXPECT_EQ(thread.StartThread(), 0) << "a second start while running";
  ASSERT_TRUE(thread.stepped_three_times.Wait());

  EXPECT_EQ(thread.ConcludeThread(INFINITE, 0), 1);
  EXPECT_EQ(thread.ends.load(), 1) << "end ran before ConcludeThread returned";
  EXPECT_EQ(thread.starts.load(), 1);
  EXPECT_EQ(thread.IsRuning(), 0);
  EXPECT_EQ(thread.steps_after_end.load(), 0);
  EXPECT_NE(thread.start_thread.load(), GetCurrentThreadId());
  EXPECT_EQ(thread.step_thread.load(), thread.start_thread.load());
  EXPECT_EQ(thread.end_thread.load(), thread.start_thread.load());
}

TEST(TessikThreadTest, CanBeStartedAgainAfterConclude) {
  RecordingThread thread;
  ASSERT_EQ(thread.StartThread(), 1);
  ASSERT_EQ(thread.ConcludeThread(INFINITE, 0), 1);
  ASSERT_EQ(thread.StartThread(), 1);
  ASSERT_EQ(thread.ConcludeThread(INFINITE, 0), 1);
  EXPECT_EQ(thread.starts.load(), 2);
  EXPECT_EQ(thread.ends.load(), 2);
}

TEST(TessikThreadTest, ConcludeFromTheOwnStepEndsTheThreadWithoutDeadlock) {
  RecordingThread thread;
  std::atomic<int> conclude_result{-1};
  thread.step_hook = [&] {
    if (thread.steps == 2) conclude_result = thread.ConcludeThread(INFINITE, 0);
    return 1;
  };
  ASSERT_EQ(thread.StartThread(), 1);
  ASSERT_TRUE(thread.ended.Wait()) << "the thread did not end";
  EXPECT_EQ(conclude_result.load(), 1);
  EXPECT_EQ(thread.steps.load(), 2) << "no step after the one that concluded";
  EXPECT_EQ(thread.ConcludeThread(INFINITE, 0), 1);
  EXPECT_EQ(thread.IsRuning(), 0);
}

TEST(TessikThreadTest, FailedStartRunsNoStepButStillEnds) {
  RecordingThread thread;
  thread.start_result = 0;
  ASSERT_EQ(thread.StartThread(), 1);
  ASSERT_TRUE(thread.ended.Wait());
  EXPECT_EQ(thread.ConcludeThread(INFINITE, 0), 1);
  EXPECT_EQ(thread.steps.load(), 0);
  EXPECT_EQ(thread.IsRuning(), 0);
}

TEST(TessikThreadTest, ConcludeTimesOutWhileAStepBlocks) {
  RecordingThread thread;
  Event release;
  thread.step_hook = [&] {
    release.Wait(INFINITE);
    return 1;
  };
  ASSERT_EQ(thread.StartThread(), 1);
  ASSERT_TRUE(thread.started.Wait());
  EXPECT_EQ(thread.ConcludeThread(20, 0), 0);
  EXPECT_EQ(thread.IsRuning(), 1);
  release.Set();
  EXPECT_EQ(thread.ConcludeThread(INFINITE, 0), 1);
  EXPECT_EQ(thread.ends.load(), 1);
}

TEST(TessikThreadTest, ConcludeWithoutAThreadSucceeds) {
  RecordingThread thread;
  EXPECT_EQ(thread.ConcludeThread(INFINITE, 0), 1);
  EXPECT_EQ(thread.IsRuning(), 0);
  EXPECT_EQ(thread.ends.load(), 0);
}

}  // namespace
