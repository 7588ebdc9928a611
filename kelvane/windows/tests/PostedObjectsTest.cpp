#include "PostedObjects.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "TraceMessage.h"

namespace {

HWND MessageWindow() {
  return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                         nullptr);
}

// Objects that count their frees instead of being freed.
constexpr int kObjects = 20000;
std::atomic<int> g_frees[kObjects];
int g_objects[kObjects];

struct CountingDeleter {
  void operator()(int* object) const { ++g_frees[object - g_objects]; }
};

TEST(PostedObjectsTest, AFailedPostFreesItsObjectOnceWhileTheWindowIsDiscarded) {
  const HWND gone = MessageWindow();
  DestroyWindow(gone);
  std::atomic<bool> posting{true};
  // The window's end, as its last message discards what it was posted, meanwhile.
  std::thread discarding([&] {
    while (posting) PostedObjects::Discard(gone);
  });
  for (int i = 0; i < kObjects; ++i) {
    EXPECT_FALSE(PostedObjects::Post(gone, WM_APP, 0,
                                     std::unique_ptr<int, CountingDeleter>(&g_objects[i])));
  }
  posting = false;
  discarding.join();
  int wrong = 0;
  for (const auto& frees : g_frees) wrong += frees != 1;
  EXPECT_EQ(wrong, 0);
}

TEST(PostedObjectsTest, AFloodOfForeignMessagesWritesABoundedNumberOfLines) {
  const HWND console = MessageWindow();
  const HWND receiver = MessageWindow();
  SetTraceConsoleWindow(console);
  for (LPARAM foreign = 1; foreign <= 1000; ++foreign) {
    EXPECT_EQ(PostedObjects::Take<int>(receiver, WM_APP, foreign), nullptr);
  }
  SetTraceConsoleWindow(nullptr);
  unsigned lines = 0;
  MSG msg;
  while (PeekMessageW(&msg, console, WM_TRACE_LINE, WM_TRACE_LINE, PM_REMOVE)) {
    ++lines;
    PostedObjects::Take<wchar_t, TraceLineDeleter>(console, msg.message, msg.lParam);
  }
  EXPECT_GE(lines, 1u);
  // A line held back from an earlier flood may be counted first.
  EXPECT_LE(lines, PostedObjects::kIgnoredLinesPerInterval + 1);
  DestroyWindow(receiver);
  DestroyWindow(console);
}

}  // namespace
