// Posting through proxies: after the loop died, across threads, and under load.
#include "base/MessageLoopProxy.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "base/MessageLoop.h"
#include "ScriptedThread.h"
#include "TestEvent.h"

namespace {

using base::MessageLoop;
using base::MessageLoopProxy;

using Post = std::function<bool(MessageLoopProxy&, base::Closure)>;

class PostAfterLoopDied : public testing::TestWithParam<Post> {};

TEST_P(PostAfterLoopDied, ReturnsFalseAndDestroysTheClosureUnrun) {
  std::shared_ptr<MessageLoopProxy> proxy;
  {
    MessageLoop loop;
    proxy = loop.message_loop_proxy();
  }
  bool ran = false;
  auto token = std::make_shared<int>(0);
  std::weak_ptr<int> watch = token;
  EXPECT_FALSE(GetParam()(*proxy, [token = std::move(token), &ran] { ran = true; }));
  EXPECT_TRUE(watch.expired());
  EXPECT_FALSE(ran);
}

INSTANTIATE_TEST_SUITE_P(
    EveryPost, PostAfterLoopDied,
    testing::Values(Post([](MessageLoopProxy& p, base::Closure c) { return p.PostTask(std::move(c)); }),
                    Post([](MessageLoopProxy& p, base::Closure c) { return p.PostDelayedTask(std::move(c), 10); }),
                    Post([](MessageLoopProxy& p, base::Closure c) { return p.PostNonNestableTask(std::move(c)); }),
                    Post([](MessageLoopProxy& p, base::Closure c) {
                      return p.PostNonNestableDelayedTask(std::move(c), 10);
                    })));

TEST(MessageLoopProxy, BelongsOnlyToItsLoopsThread) {
  ScriptedThread thread;
  ASSERT_TRUE(thread.StartWithLoop(MessageLoop::kDefaultMessageLoop));
  auto proxy = thread.message_loop()->message_loop_proxy();
  EXPECT_FALSE(proxy->BelongsToCurrentThread());
  TestEvent checked;
  bool on_loop_thread = false;
  proxy->PostTask([&] {
    on_loop_thread = proxy->BelongsToCurrentThread();
    checked.Set();
  });
  ASSERT_TRUE(checked.Wait());
  EXPECT_TRUE(on_loop_thread);
}

TEST(MessageLoopProxy, LastReferenceOnAForeignThreadAfterTheLoopDiedDeletesTheProxy) {
  auto thread = std::make_unique<ScriptedThread>();
  ASSERT_TRUE(thread->StartWithLoop(MessageLoop::kDefaultMessageLoop));
  std::shared_ptr<MessageLoopProxy> proxy = thread->message_loop()->message_loop_proxy();
  std::weak_ptr<MessageLoopProxy> watch = proxy;
  thread.reset();
  EXPECT_FALSE(watch.expired());
  EXPECT_FALSE(proxy->PostTask([] { ADD_FAILURE() << "ran on a dead loop"; }));
  std::thread([proxy = std::move(proxy)]() mutable { proxy.reset(); }).join();
  EXPECT_TRUE(watch.expired());
}

TEST(MessageLoopProxy, TaskBoundToADeadObjectDoesNothing) {
  struct Object : base::SupportWeakCallback {};
  MessageLoop loop;
  auto object = std::make_unique<Object>();
  bool ran = false;
  loop.PostTask(object->MakeWeakCallback([&ran] { ran = true; }));
  loop.PostTask([&] { loop.Quit(); });
  object.reset();
  loop.Run();
  EXPECT_FALSE(ran);
}

TEST(MessageLoopProxyStress, EveryTaskFromEveryThreadRunsOnceInPostingOrder) {
  constexpr int kThreads = 6;
  constexpr int kPostsPerThread = 5000;
  ScriptedThread loop_thread;
  ASSERT_TRUE(loop_thread.StartWithLoop(MessageLoop::kDefaultMessageLoop));
  auto proxy = loop_thread.message_loop()->message_loop_proxy();

  std::vector<std::vector<int>> received(kThreads);  // touched on the loop thread only
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t) {
    posters.emplace_back([&, t] {
      for (int i = 0; i < kPostsPerThread; ++i) {
        const bool posted = i % 7 == 0 ? proxy->PostDelayedTask([&received, t, i] { received[t].push_back(i); }, 0)
                                        : proxy->PostTask([&received, t, i] { received[t].push_back(i); });
        ASSERT_TRUE(posted);
      }
    });
  }
  for (std::thread& poster : posters) poster.join();
  TestEvent drained;
  proxy->PostTask([&] { drained.Set(); });
  ASSERT_TRUE(drained.Wait(60000));

  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(received[t].size(), static_cast<size_t>(kPostsPerThread)) << "thread " << t;
    for (int i = 0; i < kPostsPerThread; ++i) ASSERT_EQ(received[t][i], i) << "thread " << t;
  }
}

}  // namespace
