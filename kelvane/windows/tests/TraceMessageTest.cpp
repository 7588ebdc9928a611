#include "TraceMessage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "PostedObjects.h"

namespace {

// A message-only window that stands in for the console and keeps the last line posted.
class FakeConsole {
 public:
  FakeConsole() {
    window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                              nullptr);
    SetTraceConsoleWindow(window_);
  }
  ~FakeConsole() {
    SetTraceConsoleWindow(nullptr);
    DestroyWindow(window_);
  }

  // Takes the next posted line off the queue; false when none arrives.
  bool NextLine(int& level, std::wstring& text) {
    MSG msg;
    const DWORD deadline = GetTickCount() + 5000;
    while (GetTickCount() < deadline) {
      if (PeekMessageW(&msg, window_, WM_TRACE_LINE, WM_TRACE_LINE, PM_REMOVE)) {
        level = static_cast<int>(msg.wParam);
        const TraceLine line =
            PostedObjects::Take<wchar_t, TraceLineDeleter>(window_, msg.message, msg.lParam);
        if (line) text = line.get();
        return line != nullptr;
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
    }
    return false;
  }

  HWND window() const { return window_; }

 private:
  HWND window_;
};

TEST(TraceMessageTest, WithoutConsoleReturnsFalse) {
  ASSERT_EQ(GetTraceConsoleWindow(), nullptr) << "no console exists at the start";
  EXPECT_FALSE(TraceMessage(kTraceInfo, L"lost %d", 1));
}

TEST(TraceMessageTest, ReturnsFalseWhenTheConsoleIsGone) {
  HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                              nullptr);
  DestroyWindow(gone);
  SetTraceConsoleWindow(gone);
  EXPECT_FALSE(TraceMessage(kTraceError, L"to nowhere"));
  SetTraceConsoleWindow(nullptr);
}

TEST(TraceMessageTest, PostsTheFormattedLineWithWideStringsAndItsLevel) {
  FakeConsole console;
  std::thread worker([] {
    EXPECT_TRUE(TraceMessage(kTraceDebug, L"CIMEService %s=%d %c", L"设备", 42, L'中'));
  });
  worker.join();
  int level = -1;
  std::wstring text;
  ASSERT_TRUE(console.NextLine(level, text));
  EXPECT_EQ(level, kTraceDebug);
  EXPECT_EQ(text, L"CIMEService 设备=42 中");
}

TEST(TraceMessageTest, CutsALongLineToTheBuffer) {
  FakeConsole console;
  const std::wstring longText(40000, L'x');
  EXPECT_TRUE(TraceMessage(kTraceInfo, L"%s", longText.c_str()));
  int level = -1;
  std::wstring text;
  ASSERT_TRUE(console.NextLine(level, text));
  EXPECT_EQ(text, std::wstring(32766, L'x'));
}

}  // namespace
