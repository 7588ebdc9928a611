#include "mfc/AfxWnd.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records the messages it sees and answers WM_APP itself.
class RecordingWnd : public CWnd {
 public:
  std::vector<UINT> seen;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    seen.push_back(message);
    if (message == WM_APP) return 42;
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

HWND MakeStatic() {
  return CreateWindowExW(0, L"STATIC", L"start", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         nullptr, nullptr);
}

TEST(AfxWndTest, SubclassedWindowReachesTheObjectAndItsOldProcedure) {
  HWND window = MakeStatic();
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.SubclassWindow(window));
  EXPECT_EQ(CWnd::FromHandlePermanent(window), &wnd);
  EXPECT_EQ(wnd.SendMessage(WM_APP), 42);
  wnd.SetWindowText(L"changed");
  CString text;
  wnd.GetWindowText(text);
  EXPECT_STREQ(text, L"changed") << "the static's own procedure still runs";

  RecordingWnd second;
  EXPECT_FALSE(second.SubclassWindow(window)) << "one object per window";

  EXPECT_EQ(wnd.UnsubclassWindow(), window);
  EXPECT_EQ(CWnd::FromHandlePermanent(window), nullptr);
  const size_t count = wnd.seen.size();
  SendMessageW(window, WM_APP, 0, 0);
  EXPECT_EQ(wnd.seen.size(), count);
  DestroyWindow(window);
}

TEST(AfxWndTest, DestroyedWindowUnbindsTheObject) {
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.SubclassWindow(MakeStatic()));
  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(wnd.seen.back(), UINT(WM_NCDESTROY));
}

TEST(AfxWndTest, CreationHookShowsCreationMessages) {
  RecordingWnd wnd;
  {
    CWndCreationHook hook(&wnd);
    MakeStatic();
  }
  ASSERT_NE(wnd.m_hWnd, nullptr);
  EXPECT_EQ(wnd.seen.front(), UINT(WM_NCCREATE));
  EXPECT_NE(std::find(wnd.seen.begin(), wnd.seen.end(), UINT(WM_CREATE)), wnd.seen.end());
  wnd.DestroyWindow();
}

}  // namespace
