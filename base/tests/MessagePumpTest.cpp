// The three pumps: waking, delayed work, modal and nested Windows loops, IO packets.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/Dispatcher.h"
#include "base/IOMessageLoop.h"
#include "base/MessageLoopProxy.h"
#include "base/UIMessageLoop.h"
#include "base/WinIOMessagePump.h"
#include "base/WinUIMessagePump.h"
#include "ScriptedThread.h"
#include "SteadyProducer.h"
#include "TestEvent.h"

namespace {

using base::MessageLoop;

constexpr UINT kMsgHaveWork = WM_USER + 1;

class AnyLoopKind : public testing::TestWithParam<MessageLoop::Type> {};

TEST_P(AnyLoopKind, PostsWakeAnIdleLoopEveryTime) {
  ScriptedThread thread;
  ASSERT_TRUE(thread.StartWithLoop(GetParam()));
  auto proxy = thread.message_loop()->message_loop_proxy();
  // Each post lands while the loop goes idle, waits, or still holds the previous wake-up.
  for (int round = 0; round < 300; ++round) {
    TestEvent ran;
    ASSERT_TRUE(proxy->PostTask([&] { ran.Set(); }));
    EXPECT_TRUE(ran.Wait()) << "round " << round;
  }
}

TEST_P(AnyLoopKind, DelayedTaskWakesTheLoopWhenDue) {
  ScriptedThread thread;
  ASSERT_TRUE(thread.StartWithLoop(GetParam()));
  TestEvent ran;
  const auto posted = std::chrono::steady_clock::now();
  ASSERT_TRUE(thread.message_loop()->message_loop_proxy()->PostDelayedTask([&] { ran.Set(); }, 30000));
  ASSERT_TRUE(ran.Wait());
  EXPECT_GE(std::chrono::steady_clock::now() - posted, std::chrono::milliseconds(20));
}

// The quit waits for a turn with nothing to do; a producer the loop outpaces leaves one soon,
// however fast the loop runs its tasks.
TEST_P(AnyLoopKind, StopUnderAProducerItOutpacesReturnsPromptly) {
  ScriptedThread thread;
  ASSERT_TRUE(thread.StartWithLoop(GetParam()));
  SteadyProducer producer(thread.message_loop()->message_loop_proxy(), std::chrono::microseconds(0),
                          SteadyProducer::Refill::kOnceRun);
  Sleep(100);
  const auto asked = std::chrono::steady_clock::now();
  thread.Stop();
  ASSERT_EQ(WaitForSingleObject(thread.thread_handle(), 5000), WAIT_OBJECT_0);
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(1));
}

INSTANTIATE_TEST_SUITE_P(Kinds, AnyLoopKind,
                         testing::Values(MessageLoop::kDefaultMessageLoop, MessageLoop::kUIMessageLoop,
                                         MessageLoop::kIOMessageLoop));

// Runs the body on a fresh thread, so that a WM_QUIT or a window it leaves
// behind cannot reach another test's loop.
void OnFreshThread(std::function<void()> body) { std::thread(std::move(body)).join(); }

// Takes every wake-up message off this thread's queue and puts them back; returns how many.
int CountQueuedWakeUps() {
  std::vector<MSG> wake_ups;
  MSG message;
  while (PeekMessageW(&message, nullptr, kMsgHaveWork, kMsgHaveWork, PM_REMOVE)) wake_ups.push_back(message);
  for (const MSG& m : wake_ups) PostMessageW(m.hwnd, m.message, m.wParam, m.lParam);
  return static_cast<int>(wake_ups.size());
}

TEST(WinUIMessagePump, ManyPostsWhileBusyLeaveOneWakeUpAndAllRunInOrder) {
  base::UIMessageLoop loop;
  std::vector<int> order;
  int wake_ups = -1;
  loop.PostTask([&] {
    std::thread poster([proxy = loop.message_loop_proxy(), &order] {
      for (int i = 0; i < 100; ++i) proxy->PostTask([&order, i] { order.push_back(i); });
    });
    poster.join();
    wake_ups = CountQueuedWakeUps();
    MessageLoop::current()->PostTask([] { MessageLoop::current()->Quit(); });
  });
  loop.Run();
  EXPECT_EQ(wake_ups, 1);
  ASSERT_EQ(order.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(order[i], i);
}

TEST(WinUIMessagePump, ARefusedWakeUpDoesNotBlockTheNextOne) {
  // The queue refuses the first wake-up, as a full posted-message quota does.
  class RefusingOncePump : public base::WinUIMessagePump {
   public:
    int attempts = 0;

   protected:
    bool PostWakeUpMessage() override { return ++attempts > 1 && WinUIMessagePump::PostWakeUpMessage(); }
  };
  OnFreshThread([] {
    RefusingOncePump pump;
    pump.ScheduleWork();
    pump.ScheduleWork();
    pump.ScheduleWork();  // one wake-up is outstanding now
    EXPECT_EQ(pump.attempts, 2);
    EXPECT_EQ(CountQueuedWakeUps(), 1);
  });
}

// A window whose message handler runs the given function: code that runs from a window
// message rather than from a task, as modal loops and nested runs do.
class HandlerWindow {
 public:
  static constexpr UINT kRun = WM_APP + 1;

  explicit HandlerWindow(std::function<void()> handler) : handler_(std::move(handler)) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = &Procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"BaseTestHandlerWindow";
    RegisterClassW(&window_class);
    window_ = CreateWindowExW(0, window_class.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              window_class.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~HandlerWindow() { DestroyWindow(window_); }

  void PostRun() { PostMessageW(window_, kRun, 0, 0); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<HandlerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == kRun) {
      self->handler_();
      return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }

  std::function<void()> handler_;
  HWND window_;
};

// A loop of Windows' own kind, like a message box's, until done is set or the time is up.
void RunModalLoopUntil(const bool& done, UINT safety_ms) {
  const UINT_PTR safety = SetTimer(nullptr, 0, safety_ms, nullptr);
  MSG message;
  while (!done && GetMessageW(&message, nullptr, 0, 0)) {
    if (message.message == WM_TIMER && message.wParam == safety) break;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  KillTimer(nullptr, safety);
}

TEST(WinUIMessagePump, TasksAndDelayedTasksRunInsideAModalMessageLoop) {
  OnFreshThread([] {
    base::UIMessageLoop loop;
    std::vector<std::string> trace;
    bool modal_done = false;
    HandlerWindow window([&] {
      loop.PostTask([&] { trace.push_back("task"); });
      loop.PostDelayedTask(
          [&] {
            trace.push_back("delayed");
            modal_done = true;
          },
          5000);
      RunModalLoopUntil(modal_done, 10000);
      trace.push_back("modal loop left");
      loop.Quit();
    });
    window.PostRun();
    loop.Run();
    EXPECT_EQ(trace, (std::vector<std::string>{"task", "delayed", "modal loop left"}));
  });
}

TEST(WinUIMessagePump, ModalLoopsOnABusyLoopRunTheirTasksPromptly) {
  constexpr int kRounds = 20;
  std::vector<std::chrono::steady_clock::duration> waits;  // from posting the task to its run
  TestEvent window_ready, round_done;
  std::unique_ptr<HandlerWindow> window;
  // Another thread starts each round, at a moment the loop does not choose.
  std::thread rounds([&] {
    if (!window_ready.Wait()) return;
    for (int round = 0; round < kRounds; ++round) {
      Sleep(10);
      round_done.Reset();
      window->PostRun();
      if (!round_done.Wait()) return;
    }
  });
  OnFreshThread([&] {
    base::UIMessageLoop loop;
    // Slower tasks than the producer's pace: the queue is never empty.
    auto producer = std::make_unique<SteadyProducer>(loop.message_loop_proxy(), std::chrono::microseconds(20));
    window = std::make_unique<HandlerWindow>([&] {
      bool ran = false;
      const auto posted = std::chrono::steady_clock::now();
      loop.PostTask([&] { ran = true; });
      RunModalLoopUntil(ran, 1000);
      waits.push_back(std::chrono::steady_clock::now() - posted);
      if (waits.size() == kRounds) {
        producer.reset();
        loop.Quit();
      }
      round_done.Set();
    });
    window_ready.Set();
    loop.Run();
    window.reset();
  });
  rounds.join();
  ASSERT_EQ(waits.size(), static_cast<size_t>(kRounds));
  // A stalled modal loop waits for the 1 s safety timer. A working one waits for the tasks
  // queued ahead, one per wake-up message: 30-60 ms here, past 100 ms on two loaded cores.
  for (size_t round = 0; round < waits.size(); ++round)
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(waits[round]).count(), 500) << "round " << round;
}

TEST(WinUIMessagePump, EndlessTasksLeaveWindowMessagesTheirTurn) {
  OnFreshThread([] {
    base::UIMessageLoop loop;
    bool handled = false;
    const auto posted = std::chrono::steady_clock::now();
    const auto give_up = posted + std::chrono::seconds(5);
    std::function<void()> again = [&] {
      if (!handled && std::chrono::steady_clock::now() < give_up) loop.PostTask(again);
    };
    loop.PostTask(again);
    HandlerWindow window([&] {
      handled = true;
      PostQuitMessage(0);
    });
    window.PostRun();
    loop.Run();
    EXPECT_TRUE(handled);
    EXPECT_LT(std::chrono::steady_clock::now() - posted, std::chrono::seconds(1));
  });
}

// Each turn of the UI pump takes one Windows message before its one task: a message posted by a
// task is handled before the next task, also before a task posted after it.
TEST(WinUIMessagePump, AMessagePostedByATaskIsHandledBeforeTheNextTask) {
  constexpr int kTasks = 50;
  for (const bool chained : {false, true}) {
    OnFreshThread([chained] {
      base::UIMessageLoop loop;
      std::vector<std::string> trace;
      HandlerWindow window([&] { trace.push_back("message"); });
      std::function<void(int)> post_task = [&](int i) {
        loop.PostTask([&, i] {
          trace.push_back("task " + std::to_string(i));
          window.PostRun();
          if (chained && i + 1 < kTasks) post_task(i + 1);
          if (i + 1 == kTasks) loop.Quit();
        });
      };
      // A queue of tasks from the start, or each task posting the next.
      for (int i = 0; i < (chained ? 1 : kTasks); ++i) post_task(i);
      loop.Run();
      std::vector<std::string> expected;
      for (int i = 0; i < kTasks; ++i) {
        expected.push_back("task " + std::to_string(i));
        expected.push_back("message");
      }
      EXPECT_EQ(trace, expected) << (chained ? "chained tasks" : "queued tasks");
    });
  }
}

// Messages from another thread reach a loop kept busy by a queue of tasks. Each turn takes one
// message and one task, so a message waits for one task, plus one for each message ahead of it.
TEST(WinUIMessagePump, AMessageFromAnotherThreadWaitsOneTaskPerMessageAhead) {
  constexpr int kMessages = 20;
  std::atomic<int> tasks_run{0};
  std::atomic<int> handled{0};
  // Read by the poster just after each post, in this order.
  int handled_when_posted[kMessages] = {};
  int runs_when_posted[kMessages] = {};
  int runs_when_handled[kMessages] = {};  // read by the message's handler
  TestEvent window_ready;
  std::unique_ptr<HandlerWindow> window;
  std::thread poster([&] {
    if (!window_ready.Wait()) return;
    for (int i = 0; i < kMessages; ++i) {
      Sleep(2);
      window->PostRun();
      handled_when_posted[i] = handled;
      runs_when_posted[i] = tasks_run;
    }
  });
  OnFreshThread([&] {
    base::UIMessageLoop loop;
    window = std::make_unique<HandlerWindow>([&] {
      runs_when_handled[handled] = tasks_run;
      if (++handled == kMessages) loop.Quit();
    });
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    // Twenty tasks of 100 us stay queued until the last message has been handled.
    std::function<void()> busy_task = [&] {
      const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(100);
      while (std::chrono::steady_clock::now() < until) {
      }
      ++tasks_run;
      if (handled < kMessages && std::chrono::steady_clock::now() < give_up) loop.PostTask(busy_task);
    };
    for (int i = 0; i < 20; ++i) loop.PostTask(busy_task);
    window_ready.Set();
    loop.Run();
    window.reset();
  });
  poster.join();
  ASSERT_EQ(handled, kMessages);
  for (int i = 0; i < kMessages; ++i) {
    const int messages_ahead = i - handled_when_posted[i];
    EXPECT_LE(runs_when_handled[i] - runs_when_posted[i], 1 + messages_ahead) << "message " << i;
  }
}

TEST(WinUIMessagePump, NestedRunDefersNonNestableTasksToTheOuterRun) {
  OnFreshThread([] {
    base::UIMessageLoop loop;
    std::vector<std::string> trace;
    HandlerWindow window([&] {
      loop.PostNonNestableTask([&] { trace.push_back("non-nestable"); });
      loop.PostTask([&] {
        trace.push_back("nestable");
        loop.Quit();
      });
      loop.Run();
      trace.push_back("nested run left");
      loop.PostTask([&] { loop.Quit(); });
    });
    window.PostRun();
    loop.Run();
    EXPECT_EQ(trace, (std::vector<std::string>{"nestable", "nested run left", "non-nestable"}));
  });
}

TEST(WinUIMessagePump, QuitMessageEndsTheInnerRunThenTheOuter) {
  OnFreshThread([] {
    base::UIMessageLoop loop;
    std::vector<std::string> trace;
    HandlerWindow window([&] {
      PostQuitMessage(3);
      loop.Run();
      trace.push_back("inner run left");
    });
    window.PostRun();
    loop.Run();
    trace.push_back("outer run left");
    EXPECT_EQ(trace, (std::vector<std::string>{"inner run left", "outer run left"}));
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
  });
}

TEST(WinUIMessagePump, DispatcherTakesTheMessagesAndObserversSeeThem) {
  struct Recorder : base::Dispatcher, base::WinUIMessagePump::UIObserver {
    bool Dispatch(const MSG& message) override {
      trace.push_back("dispatch " + std::to_string(message.message - WM_APP));
      return message.message != WM_APP + 2;  // false ends the run
    }
    void WillProcessMessage(const MSG&) override { trace.push_back("will"); }
    void DidProcessMessage(const MSG&) override { trace.push_back("did"); }
    std::vector<std::string> trace;
  } recorder;
  OnFreshThread([&] {
    base::UIMessageLoop loop;
    loop.ui_pump()->AddUIObserver(&recorder);
    PostThreadMessageW(GetCurrentThreadId(), WM_APP + 1, 0, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_APP + 2, 0, 0);
    loop.Run(&recorder);
  });
  EXPECT_EQ(recorder.trace,
            (std::vector<std::string>{"will", "dispatch 1", "did", "will", "dispatch 2", "did"}));
}

TEST(WinUIMessagePump, SecondUILoopInOneProcessWorks) {
  ScriptedThread first, second;
  ASSERT_TRUE(first.StartWithLoop(MessageLoop::kUIMessageLoop));
  ASSERT_TRUE(second.StartWithLoop(MessageLoop::kUIMessageLoop));
  TestEvent ran;
  ASSERT_TRUE(second.message_loop()->message_loop_proxy()->PostTask([&] { ran.Set(); }));
  EXPECT_TRUE(ran.Wait());
}

TEST(WinIOMessagePump, HandsCompletionPacketsToTheirHandler) {
  struct Handler : base::WinIOMessagePump::IOHandler {
    void OnIOCompleted(base::WinIOMessagePump::IOContext*, DWORD bytes, DWORD error) override {
      bytes_seen = bytes;
      error_seen = error;
      done.Set();
    }
    DWORD bytes_seen = 0;
    DWORD error_seen = 1;
    TestEvent done;
  } handler;
  ScriptedThread thread;
  ASSERT_TRUE(thread.StartWithLoop(MessageLoop::kIOMessageLoop));
  auto* loop = static_cast<base::IOMessageLoop*>(thread.message_loop());
  base::WinIOMessagePump::IOContext context{};
  context.handler = &handler;
  ASSERT_TRUE(PostQueuedCompletionStatus(loop->io_pump()->completion_port(), 42, 0, &context.overlapped));
  ASSERT_TRUE(handler.done.Wait());
  EXPECT_EQ(handler.bytes_seen, 42u);
  EXPECT_EQ(handler.error_seen, 0u);
}

}  // namespace
