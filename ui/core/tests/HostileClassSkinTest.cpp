// Hostile skins about classes, names and option groups in real windows under Wine: chains of
// classes, classes that double at every level (also through an event), thousands of selected
// options, and windows of 100,000 named controls or options that are closed. Each case is
// timed from the build to the window's deletion, with the growth of the process's peak commit.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "BuilderTestSupport.h"
#include "WindowTestSupport.h"
#include "system/SkinLog.h"
#include "widgets/Option.h"

namespace ui {
namespace {

std::wstring Repeated(int count, const std::function<std::wstring(int)>& element) {
  std::wstring elements;
  for (int i = 0; i < count; ++i) elements += element(i);
  return elements;
}

class HostileClassSkins : public FrameworkStarted {};

TEST_F(HostileClassSkins, EachCaseEndsInBoundedTimeAndMemory) {
  struct Case {
    const char* name;
    std::wstring classes;
    std::wstring body;
    std::function<void(Window*)> act;  // after the window is shown
    ULONGLONG limit_ms;                // from the build to the window's deletion
    bool bounded;                      // a bound of the class lists is met: one or two lines
  };
  const std::wstring doubling = ClassChain(40, 2);  // 2^40 applications unbounded
  const Case cases[] = {
      {"a chain of 3,000 classes", ClassChain(3000, 1), LR"(<Control class="c0"/>)", nullptr,
       2000, true},
      {"classes naming the next twice, 40 deep", doubling, LR"(<Control class="c0"/>)", nullptr,
       2000, true},
      {"the same applied by an event", doubling,
       LR"(<VBox name="t"><Event type="mousemove" receiver="t" applyattribute="class=&quot;c0&quot;"/></VBox>)",
       [](Window* window) { SendMessageW(window->GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); },
       2000, true},
      {"2,000 selected options", L"",
       Repeated(2000, [](int) { return L"<Option group=\"g\" selected=\"true\" height=\"1\"/>"; }),
       [](Window* window) {
         int selected = 0;
         for (Control* member : *window->GetOptionGroup(L"g"))
           selected += static_cast<Option*>(member)->IsSelected();
         EXPECT_EQ(selected, 1);
       },
       1000, false},
      {"100,000 named controls", L"",
       Repeated(100000,
                [](int i) { return L"<Control name=\"n" + std::to_wstring(i) + L"\" height=\"1\"/>"; }),
       nullptr, 5000, false},
      {"100,000 options in one group", L"",
       Repeated(100000, [](int) { return L"<Option group=\"g\" height=\"1\"/>"; }), nullptr, 5000,
       false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    int log_lines = 0;
    const SkinLogSink previous = SetSkinLogSink([&log_lines](const std::wstring&) { ++log_lines; });
    const CommitSampler commit;
    const ULONGLONG start = GetTickCount64();
    NativeTestWindow* window = ShowSkinWindow(test.classes, test.body);
    ASSERT_NE(window, nullptr);
    const ULONGLONG built = GetTickCount64();
    PumpFor(100);
    if (test.act) test.act(window);
    const ULONGLONG closing = GetTickCount64();
    DestroyWindow(window->GetHWND());
    delete window;
    const ULONGLONG end = GetTickCount64();
    SetSkinLogSink(previous);
    const size_t grown = commit.PeakGrowth();
    std::printf("%-42s build and show %5llu ms, close %5llu ms, all %5llu ms, peak commit +%zu MiB, "
                "%d log lines\n",
                test.name, built - start, end - closing, end - start, grown >> 20, log_lines);
    EXPECT_LT(end - start - 100, test.limit_ms);
    EXPECT_LT(grown, size_t{256} << 20);
    if (test.bounded) {
      EXPECT_GE(log_lines, 1);
    }
    EXPECT_LE(log_lines, 2);
  }
}

}  // namespace
}  // namespace ui
