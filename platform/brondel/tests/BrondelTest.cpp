#include "brondel/Brondel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Delivery {
  unsigned id;
  std::string data;
  DWORD thread;
};

// Records every delivery; a per-test hook runs inside OnQueueMessage.
class RecordingSink : public IBrondelInterface {
 public:
  void OnQueueMessage(unsigned id, const void* data, unsigned length) override {
    if (++in_flight_ > 1) overlapped_ = true;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      deliveries_.push_back({id, std::string(static_cast<const char*>(data), length),
                             GetCurrentThreadId()});
    }
    if (hook) hook(id);
    --in_flight_;
  }

  std::vector<Delivery> deliveries() {
    std::lock_guard<std::mutex> lock(mutex_);
    return deliveries_;
  }
  bool overlapped() const { return overlapped_; }

  std::function<void(unsigned)> hook;

 private:
  std::mutex mutex_;
  std::vector<Delivery> deliveries_;
  std::atomic<int> in_flight_{0};
  std::atomic<bool> overlapped_{false};
};

class BrondelTest : public testing::Test {
 protected:
  void SetUp() override { queue_.SetSink(&sink_); }

  RecordingSink sink_;
  CBrondel queue_{1};
};

TEST_F(BrondelTest, DeliversInPostingOrderAcrossThreadsOneAtATimeOnTheWorker) {
  ASSERT_EQ(queue_.Start(), 1);
  constexpr unsigned kThreads = 4, kPostsEach = 300;
  std::mutex posting;  // gives every post a place in one global order
  unsigned next = 0;
  std::vector<std::thread> posters;
  for (unsigned t = 0; t < kThreads; ++t) {
    posters.emplace_back([&] {
      for (unsigned i = 0; i < kPostsEach; ++i) {
        std::lock_guard<std::mutex> lock(posting);
        const unsigned sequence = next++;
        EXPECT_EQ(queue_.Post(sequence, &sequence, sizeof sequence), 1);
      }
    });
  }
  for (std::thread& poster : posters) poster.join();
  queue_.Stop();

  const std::vector<Delivery> deliveries = sink_.deliveries();
  ASSERT_EQ(deliveries.size(), kThreads * kPostsEach);
  for (unsigned i = 0; i < deliveries.size(); ++i) {
    ASSERT_EQ(deliveries[i].id, i);
    unsigned payload;
    ASSERT_EQ(deliveries[i].data.size(), sizeof payload);
    std::memcpy(&payload, deliveries[i].data.data(), sizeof payload);
    EXPECT_EQ(payload, i);
    EXPECT_NE(deliveries[i].thread, GetCurrentThreadId());
  }
  EXPECT_FALSE(sink_.overlapped());
}

TEST_F(BrondelTest, CopiesTheDataWhenPosted) {
  HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  sink_.hook = [gate](unsigned id) {
    if (id == 0) WaitForSingleObject(gate, INFINITE);
  };
  ASSERT_EQ(queue_.Start(), 1);
  queue_.Post(0, "x", 1);  // holds the worker until the buffer has been reused

  char buffer[8];
  for (unsigned id = 1; id <= 3; ++id) {
    std::memset(buffer, '0' + id, sizeof buffer);
    queue_.Post(id, buffer, sizeof buffer);
  }
  std::memset(buffer, '#', sizeof buffer);
  SetEvent(gate);
  queue_.Stop();
  CloseHandle(gate);

  const std::vector<Delivery> deliveries = sink_.deliveries();
  ASSERT_EQ(deliveries.size(), 4u);
  for (unsigned id = 1; id <= 3; ++id) {
    EXPECT_EQ(deliveries[id].data, std::string(8, static_cast<char>('0' + id)));
  }
}

TEST_F(BrondelTest, SinkPostsFollowUpsToItsOwnQueue) {
  HANDLE last = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  sink_.hook = [&](unsigned id) {
    if (id == 3) SetEvent(last);
    const char next = static_cast<char>('a' + id);
    if (id < 3) {
      EXPECT_EQ(queue_.Post(id + 1, &next, 1), 1);
    }
  };
  ASSERT_EQ(queue_.Start(), 1);
  queue_.Post(0, "", 0);
  ASSERT_EQ(WaitForSingleObject(last, 5000), WAIT_OBJECT_0);
  queue_.Stop();
  CloseHandle(last);

  const std::vector<Delivery> deliveries = sink_.deliveries();
  ASSERT_EQ(deliveries.size(), 4u);
  for (unsigned id = 1; id <= 3; ++id) {
    EXPECT_EQ(deliveries[id].id, id);
    EXPECT_EQ(deliveries[id].data, std::string(1, static_cast<char>('a' + id - 1)));
  }
}

TEST_F(BrondelTest, StopDeliversEverythingPostedBeforeAndDropsLaterPosts) {
  EXPECT_EQ(queue_.Post(99, "early", 5), 0) << "a post before Start";
  ASSERT_EQ(queue_.Start(), 1);
  constexpr unsigned kPosts = 1000;
  for (unsigned id = 0; id < kPosts; ++id) queue_.Post(id, "d", 1);
  queue_.Stop();
  EXPECT_EQ(sink_.deliveries().size(), kPosts);

  EXPECT_EQ(queue_.Post(100, "late", 4), 0) << "a post after Stop";
  queue_.Stop();
  EXPECT_EQ(sink_.deliveries().size(), kPosts);
}

TEST_F(BrondelTest, StartsAgainAfterStop) {
  ASSERT_EQ(queue_.Start(), 1);
  EXPECT_EQ(queue_.Start(), 1) << "already running";
  queue_.Stop();
  ASSERT_EQ(queue_.Start(), 1);
  EXPECT_EQ(queue_.Post(5, "again", 5), 1);
  queue_.Stop();
  ASSERT_EQ(sink_.deliveries().size(), 1u);
  EXPECT_EQ(sink_.deliveries()[0].data, "again");
}

TEST(BrondelStartTest, RefusesToStartWithoutSink) {
  CBrondel queue(1);
  EXPECT_EQ(queue.Start(), 0);
  EXPECT_EQ(queue.Post(1, "x", 1), 0);
}

// A window of the test thread whose procedure counts the messages the worker sends.
std::atomic<int> g_sentToWindow{0};

LRESULT CALLBACK CountingWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_APP) {
    ++g_sentToWindow;
    return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

TEST_F(BrondelTest, StopOnAWindowThreadKeepsServingTheWorkersSends) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = CountingWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"BrondelTestWindow";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(L"BrondelTestWindow", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);

  sink_.hook = [window](unsigned) {
    SendMessageW(window, WM_APP, 0, 0);
    SetWindowTextW(window, L"from the worker");
  };
  ASSERT_EQ(queue_.Start(), 1);
  for (unsigned id = 0; id < 5; ++id) queue_.Post(id, "s", 1);
  queue_.Stop();  // hangs (test time-out) when the wait ignores sent messages

  EXPECT_EQ(sink_.deliveries().size(), 5u);
  EXPECT_EQ(g_sentToWindow.load(), 5);
  wchar_t title[32];
  GetWindowTextW(window, title, 32);
  EXPECT_STREQ(title, L"from the worker");
  DestroyWindow(window);
}

}  // namespace
