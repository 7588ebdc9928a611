// Task order, quitting and destruction of the default loop, run on the test thread.
#include "base/MessageLoop.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/MessageLoopProxy.h"
#include "base/TickClock.h"
#include "FakeClock.h"

namespace {

using base::MessageLoop;

// Records task names in the order they run.
struct Trace {
  std::vector<std::string> names;
  base::Closure Add(const std::string& name) {
    return [this, name] { names.push_back(name); };
  }
};

TEST(MessageLoopOrder, ImmediateTasksRunBeforeDelayedZeroOnTheLoopButNotThroughTheProxy) {
  MessageLoop loop;
  Trace trace;
  loop.PostDelayedTask(trace.Add("loop delayed 0"), 0);
  loop.PostTask(trace.Add("loop immediate"));
  loop.message_loop_proxy()->PostDelayedTask(trace.Add("proxy delayed 0"), 0);
  loop.message_loop_proxy()->PostTask(trace.Add("proxy immediate"));
  loop.PostDelayedTask([&] { loop.Quit(); }, 0);
  loop.Run();
  // The loop's own delayed-0 task goes through the heap and runs in the turn of the first
  // immediate task; the proxy turns a delay of 0 into an immediate post that keeps its place.
  EXPECT_EQ(trace.names, (std::vector<std::string>{"loop immediate", "loop delayed 0", "proxy delayed 0",
                                                   "proxy immediate"}));
}

TEST(MessageLoopOrder, DelayedTasksRunByRunTimeThenInArrivalOrder) {
  FakeClock clock;
  MessageLoop loop;
  Trace trace;
  loop.PostDelayedTask(trace.Add("A at 5 ms"), 5000);
  loop.PostDelayedTask(trace.Add("B at 5 ms"), 5000);
  loop.PostDelayedTask(trace.Add("C at 2 ms"), 2000);
  loop.PostDelayedTask(trace.Add("D at 5 ms"), 5000);
  loop.PostDelayedTask([&] { loop.Quit(); }, 9000);
  loop.PostTask([&] { clock.Advance(10); });
  loop.Run();
  EXPECT_EQ(trace.names, (std::vector<std::string>{"C at 2 ms", "A at 5 ms", "B at 5 ms", "D at 5 ms"}));
}

TEST(MessageLoopOrder, DelayedTaskWaitsForItsTime) {
  FakeClock clock;
  MessageLoop loop;
  Trace trace;
  loop.PostDelayedTask(trace.Add("due"), 50000);
  loop.PostTask([&] {
    loop.PostTask([&] {
      // Not yet due: only the immediate tasks have run.
      trace.names.push_back("checked");
      clock.Advance(50);
      loop.PostDelayedTask([&] { loop.Quit(); }, 1);
      clock.Advance(1);
    });
  });
  loop.Run();
  EXPECT_EQ(trace.names, (std::vector<std::string>{"checked", "due"}));
}

// The pumps take their own turns (Windows messages, packets) between any two tasks: each
// DoWork and DoDelayedWork runs one task at most, and says whether it ran one.
TEST(MessageLoopOrder, EachDoWorkAndDoDelayedWorkRunsOneTask) {
  FakeClock clock;
  MessageLoop loop;
  Trace trace;
  loop.PostTask([&] {
    trace.names.push_back("first");
    loop.PostTask(trace.Add("posted by first"));
  });
  loop.PostDelayedTask(trace.Add("delayed A"), 1000);
  loop.PostDelayedTask(trace.Add("delayed B"), 1000);
  loop.PostTask(trace.Add("second"));
  base::MessagePump::Delegate& delegate = loop;
  int64_t next_run_time = 0;
  const auto work = [&] { return delegate.DoWork(); };
  const auto delayed_work = [&] { return delegate.DoDelayedWork(&next_run_time); };
  const auto due_work = [&] {
    clock.Advance(1);
    return delayed_work();
  };
  // Each call and the task it runs; none for a call that must run nothing.
  const std::pair<std::function<bool()>, std::string> steps[] = {
      {work, "first"},
      // Both delayed tasks go to the heap on the way to the second immediate one.
      {work, "second"},
      {work, "posted by first"},
      {work, ""},
      {delayed_work, ""},  // not due yet
      {due_work, "delayed A"},
      {delayed_work, "delayed B"},
      {delayed_work, ""},
  };
  for (size_t step = 0; step < sizeof steps / sizeof steps[0]; ++step) {
    const std::string& expected = steps[step].second;
    const size_t ran_before = trace.names.size();
    EXPECT_EQ(steps[step].first(), !expected.empty()) << "step " << step;
    ASSERT_EQ(trace.names.size(), ran_before + (expected.empty() ? 0 : 1)) << "step " << step;
    if (!expected.empty()) {
      EXPECT_EQ(trace.names.back(), expected) << "step " << step;
    }
  }
}

TEST(MessageLoopQuit, QueuedWorkRunsBeforeTheLoopQuits) {
  MessageLoop loop;
  Trace trace;
  loop.PostTask([&] {
    loop.Quit();
    loop.PostTask(trace.Add("posted after quit"));
  });
  loop.PostTask(trace.Add("queued"));
  loop.Run();
  EXPECT_EQ(trace.names, (std::vector<std::string>{"queued", "posted after quit"}));
}

TEST(MessageLoopQuit, LoopRunsAgainAfterQuitting) {
  MessageLoop loop;
  int runs = 0;
  for (int round = 0; round < 2; ++round) {
    loop.PostTask([&] {
      ++runs;
      loop.Quit();
    });
    loop.Run();
  }
  EXPECT_EQ(runs, 2);
}

// Counts how often instances die; closures hold them by shared pointer.
struct Token {
  explicit Token(std::vector<int>* deaths, int id) : deaths(deaths), id(id) {}
  ~Token() { deaths->push_back(id); }
  std::vector<int>* deaths;
  int id;
};

TEST(MessageLoopDestruction, DestroysEveryQueuedClosureOnceAndRunsNone) {
  std::vector<int> deaths;
  int runs = 0;
  {
    MessageLoop loop;
    auto closure_for = [&](int id) {
      auto token = std::make_shared<Token>(&deaths, id);
      return [token, &runs] { ++runs; };
    };
    loop.PostTask(closure_for(1));
    loop.PostNonNestableTask(closure_for(2));
    loop.PostDelayedTask(closure_for(30), 30000);
    loop.PostDelayedTask(closure_for(10), 10000);
    loop.PostNonNestableDelayedTask(closure_for(20), 20000);
    loop.PostTask(closure_for(3));
  }
  EXPECT_EQ(runs, 0);
  // Immediate tasks in queue order, then the delayed ones by run time.
  EXPECT_EQ(deaths, (std::vector<int>{1, 2, 3, 10, 20, 30}));
}

// Posts the next link of a chain when destroyed.
struct ChainLink {
  ChainLink(std::shared_ptr<base::MessageLoopProxy> proxy, int remaining, int* destroyed)
      : proxy(std::move(proxy)), remaining(remaining), destroyed(destroyed) {}
  ~ChainLink() {
    ++*destroyed;
    if (remaining == 0) return;
    auto next = std::make_shared<ChainLink>(proxy, remaining - 1, destroyed);
    proxy->PostDelayedTask([next] { ADD_FAILURE() << "a task of a dying loop ran"; }, 1000);
  }
  std::shared_ptr<base::MessageLoopProxy> proxy;
  int remaining;
  int* destroyed;
};

TEST(MessageLoopDestruction, CollectsTasksPostedByDestroyedClosures) {
  int destroyed = 0;
  {
    MessageLoop loop;
    // Longer than the destructor's passes: the tail is dropped once posting fails.
    auto first = std::make_shared<ChainLink>(loop.message_loop_proxy(), 149, &destroyed);
    loop.PostDelayedTask([first] {}, 1000);
  }
  EXPECT_EQ(destroyed, 150);
}

TEST(MessageLoopDestruction, ObserversHearOfTheDestruction) {
  struct Observer : MessageLoop::DestructionObserver {
    void WillDestroyCurrentMessageLoop() override { loop_still_current = MessageLoop::current() != nullptr; }
    bool loop_still_current = false;
  } observer;
  {
    MessageLoop loop;
    loop.AddDestructionObserver(&observer);
  }
  EXPECT_TRUE(observer.loop_still_current);
}

TEST(MessageLoopObservers, TaskObserversSurroundEachTaskAndMayLeaveDuringNotification) {
  MessageLoop loop;
  struct Observer : MessageLoop::TaskObserver {
    Observer(MessageLoop* loop, std::vector<std::string>* log, std::string name)
        : loop(loop), log(log), name(std::move(name)) {}
    void WillProcessTask(const base::PendingTask&) override { log->push_back(name + " will"); }
    void DidProcessTask(const base::PendingTask&) override {
      log->push_back(name + " did");
      loop->RemoveTaskObserver(this);
    }
    MessageLoop* loop;
    std::vector<std::string>* log;
    std::string name;
  };
  std::vector<std::string> log;
  Observer first(&loop, &log, "first"), second(&loop, &log, "second");
  loop.AddTaskObserver(&first);
  loop.AddTaskObserver(&second);
  loop.PostTask([&] { log.push_back("task"); });
  loop.PostTask([&] {
    log.push_back("unobserved");
    loop.Quit();
  });
  loop.Run();
  EXPECT_EQ(log, (std::vector<std::string>{"first will", "second will", "task", "first did", "second did",
                                           "unobserved"}));
}

TEST(LoopClock, KeepsIncreasingAcrossTheCounterWrapAround) {
  uint32_t now_ms = 0xFFFFFFF0u;
  base::TickClock clock([&] { return now_ms; });
  const int64_t before = clock.NowMicroseconds();
  now_ms = 0x10;
  const int64_t after = clock.NowMicroseconds();
  EXPECT_EQ(after - before, int64_t{0x20} * 1000);
  now_ms = 0x20;
  EXPECT_EQ(clock.NowMicroseconds() - after, int64_t{0x10} * 1000);
}

}  // namespace
