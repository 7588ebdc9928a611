// Framework threads, their start and stop, and the registry of thread identifiers.
#include "base/FrameworkThread.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "base/MessageLoopFactory.h"
#include "base/MessageLoopProxy.h"
#include "base/ThreadManager.h"
#include "base/ThreadRecord.h"
#include "RegistryProbe.h"
#include "ScriptedThread.h"
#include "TestEvent.h"

namespace {

using base::MessageLoop;
using base::ThreadManager;

// A thread that holds a registration until the test lets it go.
class Holder {
 public:
  explicit Holder(int identifier)
      : thread_([this, identifier] { registered_ = ThreadManager::RegisterThread(identifier); },
                [] { ThreadManager::UnregisterThread(); }) {
    EXPECT_TRUE(thread_.StartWithLoop(MessageLoop::kDefaultMessageLoop));
  }
  bool registered() const { return registered_; }
  ScriptedThread& thread() { return thread_; }

 private:
  bool registered_ = false;
  ScriptedThread thread_;
};

TEST(ThreadRegistry, RefusesNegativeIdentifiersAndThreadsOutsideTheFramework) {
  EXPECT_FALSE(OnFrameworkThread([] { return ThreadManager::RegisterThread(-1); }));
  EXPECT_FALSE(ThreadManager::RegisterThread(40));
  EXPECT_FALSE(ThreadManager::UnregisterThread());
  EXPECT_TRUE(IdentifierIsFree(40));
}

TEST(ThreadRegistry, UnregisterWithoutARegistrationFails) {
  EXPECT_FALSE(OnFrameworkThread([] { return ThreadManager::UnregisterThread(); }));
}

TEST(ThreadRegistry, NestedRegistrationsOfOneIdentifierAreCounted) {
  bool first = false, second = false, free_after_one = true, free_after_two = false;
  OnFrameworkThread([&] {
    first = ThreadManager::RegisterThread(41);
    second = ThreadManager::RegisterThread(41);
    ThreadManager::UnregisterThread();
    free_after_one = IdentifierIsFree(41);
    ThreadManager::UnregisterThread();
    free_after_two = IdentifierIsFree(41);
    return true;
  });
  EXPECT_TRUE(first);
  EXPECT_TRUE(second);
  EXPECT_FALSE(free_after_one);
  EXPECT_TRUE(free_after_two);
}

TEST(ThreadRegistry, AnIdentifierHeldByAnotherThreadIsRefusedAndKept) {
  Holder holder(42);
  ASSERT_TRUE(holder.registered());
  EXPECT_FALSE(IdentifierIsFree(42));
  EXPECT_FALSE(IdentifierIsFree(42));  // the refused attempt left the holder's entry alone
}

TEST(ThreadRegistry, AThreadCannotHoldTwoIdentifiers) {
  bool second = true, first_still_held = false;
  OnFrameworkThread([&] {
    ThreadManager::RegisterThread(43);
    second = ThreadManager::RegisterThread(44);
    first_still_held = !IdentifierIsFree(43);
    ThreadManager::UnregisterThread();
    return true;
  });
  EXPECT_FALSE(second);
  EXPECT_TRUE(first_still_held);
  EXPECT_TRUE(IdentifierIsFree(44));
}

TEST(ThreadRegistry, AThreadThatEndsRegisteredLeavesNoEntry) {
  {
    ScriptedThread forgetful([] { ThreadManager::RegisterThread(45); });
    ASSERT_TRUE(forgetful.StartWithLoop(MessageLoop::kDefaultMessageLoop));
    EXPECT_FALSE(IdentifierIsFree(45));
  }
  EXPECT_TRUE(IdentifierIsFree(45));
}

TEST(ThreadRegistry, FindThreadProxyPostsToThreadZero) {
  EXPECT_EQ(ThreadManager::FindThreadProxy(), nullptr);
  Holder ui(0);
  ASSERT_TRUE(ui.registered());
  auto proxy = ThreadManager::FindThreadProxy();
  ASSERT_NE(proxy, nullptr);
  TestEvent ran;
  DWORD ran_on = 0;
  proxy->PostTask([&] {
    ran_on = GetCurrentThreadId();
    ran.Set();
  });
  ASSERT_TRUE(ran.Wait());
  EXPECT_EQ(ran_on, ui.thread().thread_id());
  ui.thread().StopAndJoin();
  EXPECT_EQ(ThreadManager::FindThreadProxy(), nullptr);
}

TEST(FrameworkThread, StartReturnsAfterInitHasRunOnTheNewThread) {
  std::atomic<DWORD> init_thread{0};
  ScriptedThread thread([&] {
    // Slow enough that a starter that did not wait would see nothing.
    for (int i = 0; i < 50; ++i) SwitchToThread();
    init_thread = GetCurrentThreadId();
  });
  ASSERT_TRUE(thread.StartWithLoop(MessageLoop::kUIMessageLoop));
  EXPECT_TRUE(thread.IsRunning());
  EXPECT_EQ(init_thread.load(), thread.thread_id());
  EXPECT_NE(init_thread.load(), GetCurrentThreadId());
  ASSERT_NE(thread.message_loop(), nullptr);
  EXPECT_EQ(thread.message_loop()->type(), MessageLoop::kUIMessageLoop);
}

TEST(FrameworkThread, StopTwicePostsOneQuitAndCleanupRunsOnce) {
  struct Counter : MessageLoop::TaskObserver {
    void WillProcessTask(const base::PendingTask&) override { ++tasks; }
    void DidProcessTask(const base::PendingTask&) override {}
    std::atomic<int> tasks{0};
  } counter;
  int cleanups = 0;
  ScriptedThread thread([&] { MessageLoop::current()->AddTaskObserver(&counter); }, [&] { ++cleanups; });
  ASSERT_TRUE(thread.StartWithLoop(MessageLoop::kDefaultMessageLoop));
  thread.Stop();
  thread.Stop();
  thread.StopAndJoin();
  EXPECT_EQ(counter.tasks.load(), 1);
  EXPECT_EQ(cleanups, 1);
  EXPECT_EQ(thread.message_loop(), nullptr);
  EXPECT_EQ(thread.thread_id(), 0u);
}

TEST(FrameworkThread, OnlyAStopMarksTheQuitAsProper) {
  for (bool by_stop : {true, false}) {
    bool quit_properly = !by_stop;
    ScriptedThread thread({}, [&] { quit_properly = base::CurrentThreadRecord()->quit_properly; });
    ASSERT_TRUE(thread.StartWithLoop(MessageLoop::kDefaultMessageLoop));
    if (by_stop) {
      thread.StopAndJoin();
    } else {
      thread.message_loop()->message_loop_proxy()->PostTask([] { MessageLoop::current()->Quit(); });
      WaitForSingleObject(thread.thread_handle(), INFINITE);
    }
    EXPECT_EQ(quit_properly, by_stop) << (by_stop ? "stopped" : "quit from inside");
  }
}

TEST(FrameworkThread, StopBeforeStartDoesNotStopTheLaterRun) {
  TestEvent ran;
  ScriptedThread thread;
  thread.Stop();
  ASSERT_TRUE(thread.StartWithLoop(MessageLoop::kDefaultMessageLoop));
  thread.message_loop()->message_loop_proxy()->PostTask([&] { ran.Set(); });
  EXPECT_TRUE(ran.Wait());
  thread.StopAndJoin();
  EXPECT_FALSE(thread.IsRunning());
}

TEST(FrameworkThread, CanBeStartedAgainAfterStopping) {
  ScriptedThread thread;
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(thread.StartWithLoop(MessageLoop::kIOMessageLoop));
    thread.StopAndJoin();
  }
}

TEST(FrameworkThread, StopsAgainAfterARestart) {
  ScriptedThread thread;
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(thread.StartWithLoop(MessageLoop::kDefaultMessageLoop));
    thread.Stop();
    const bool ended = WaitForSingleObject(thread.thread_handle(), 5000) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended) << "round " << round;
    // Let the thread end anyway, so that a failure does not hang the destructor.
    if (!ended) thread.message_loop()->message_loop_proxy()->PostTask([] { MessageLoop::current()->Quit(); });
  }
}

TEST(FrameworkThread, RunsALoopMadeByItsFactory) {
  struct Factory : base::MessageLoopFactory {
    std::unique_ptr<MessageLoop> CreateMessageLoop() override {
      ++made;
      return std::make_unique<MessageLoop>();
    }
    int made = 0;
  };
  auto factory = std::make_shared<Factory>();
  ScriptedThread thread;
  ASSERT_TRUE(thread.StartWithLoopFactory(factory));
  TestEvent ran;
  thread.message_loop()->message_loop_proxy()->PostTask([&] { ran.Set(); });
  EXPECT_TRUE(ran.Wait());
  thread.StopAndJoin();
  EXPECT_EQ(factory->made, 1);
  EXPECT_EQ(factory.use_count(), 1);
}

TEST(FrameworkThread, RunOnCurrentThreadReturnsWhenTheLoopQuits) {
  DWORD init_thread = 0;
  ScriptedThread thread([&] {
    init_thread = GetCurrentThreadId();
    MessageLoop::current()->PostTask([] { MessageLoop::current()->Quit(); });
  });
  thread.RunOnCurrentThreadWithLoop(MessageLoop::kDefaultMessageLoop);
  EXPECT_EQ(init_thread, GetCurrentThreadId());
  EXPECT_EQ(MessageLoop::current(), nullptr);
}

struct PriorityCase {
  int priority;
  int expected;
};

class ThreadPriority : public testing::TestWithParam<PriorityCase> {};

TEST_P(ThreadPriority, MapsToTheWindowsPriority) {
  class Parked : public base::Thread {
   public:
    TestEvent release;

   protected:
    void ThreadMain() override { release.Wait(); }
  } thread;
  thread.set_priority(GetParam().priority);
  ASSERT_TRUE(thread.Create());
  EXPECT_EQ(GetThreadPriority(thread.thread_handle()), GetParam().expected);
  thread.release.Set();
  thread.Join();
}

INSTANTIATE_TEST_SUITE_P(Table, ThreadPriority,
                         testing::Values(PriorityCase{-1, THREAD_PRIORITY_NORMAL}, PriorityCase{0, THREAD_PRIORITY_NORMAL},
                                         PriorityCase{1, THREAD_PRIORITY_LOWEST},
                                         PriorityCase{2, THREAD_PRIORITY_BELOW_NORMAL},
                                         PriorityCase{3, THREAD_PRIORITY_HIGHEST},
                                         PriorityCase{4, THREAD_PRIORITY_TIME_CRITICAL},
                                         PriorityCase{5, THREAD_PRIORITY_BELOW_NORMAL},
                                         PriorityCase{9, THREAD_PRIORITY_BELOW_NORMAL}));

}  // namespace
