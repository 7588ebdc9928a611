// Native windows under Wine + Xvfb: life cycle, painting, auto-size, centring, the fade
// before close, delayed deletion, and the message dispatch tables.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ControlTestSupport.h"
#include "RenderTestSupport.h"
#include "WindowTestSupport.h"
#include "layout/Box.h"
#include "resources/GlobalManager.h"
#include "system/TouchInput.h"

namespace ui {
namespace {

class Window_ : public FrameworkStarted {
 protected:
  // Self-deleting windows would outlive a stack frame: tests own theirs and destroy the
  // native window before the object goes.
  void TearDown() override {
    if (window_ && IsWindow(window_->GetHWND())) DestroyWindow(window_->GetHWND());
    window_.reset();
    FrameworkStarted::TearDown();
  }
  NativeTestWindow* Make(const RECT& rect, bool layered, Box* root) {
    window_ = std::make_unique<NativeTestWindow>();
    EXPECT_TRUE(window_->CreateAt(rect, layered));
    window_->AttachRoot(root);
    window_->ShowWindow(true, true);
    return window_.get();
  }
  std::unique_ptr<NativeTestWindow> window_;
};

TEST_F(Window_, CreatePaintsAndArrangesTheRoot) {
  for (bool layered : {false, true}) {
    auto* root = new VBox();
    auto* child = new Control();
    child->SetName(L"child");
    child->SetFixedHeight(30);
    root->Add(child);
    NativeTestWindow* window = Make(RECT{50, 50, 250, 150}, layered, root);
    EXPECT_EQ((GetWindowLongW(window->GetHWND(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0, layered);
    ASSERT_TRUE(PumpUntil([&] { return !window->IsArrangeNeeded(); })) << layered;
    const RECT pos = child->GetPos(true);
    EXPECT_EQ(pos.right - pos.left, 200);
    EXPECT_EQ(pos.bottom - pos.top, 30);
    EXPECT_EQ(window->FindControlByName(L"child"), child);
    POINT inside = {10, 10};
    EXPECT_EQ(window->FindControl(inside), child);
    DestroyWindow(window->GetHWND());
    EXPECT_TRUE(window->destroyed);
  }
}

// Two areas changed in one paint cycle, far apart: both reach the screen, the rest stays.
TEST_F(Window_, AnUpdateRepaintsEveryChangedAreaOnTheScreen) {
  const std::pair<const wchar_t*, const wchar_t*> kColors[] = {
      {L"grey", L"#FF808080"}, {L"blue", L"#FF0000FF"}, {L"green", L"#FF00FF00"},
      {L"red", L"#FFFF0000"}, {L"white", L"#FFFFFFFF"}};
  for (const auto& [name, value] : kColors) GlobalManager::AddTextColor(name, value);
  for (bool layered : {false, true}) {
    auto* root = new VBox();
    root->SetBkColor(L"grey");
    Control* rows[3];
    for (Control*& row : rows) {
      row = new Control();
      row->SetFixedHeight(20);
      root->Add(row);
    }
    rows[1]->SetFixedHeight(60);
    rows[0]->SetBkColor(L"blue");
    rows[2]->SetBkColor(L"green");
    NativeTestWindow* window = Make(RECT{50, 50, 150, 150}, layered, root);
    // What the window shows: a plain window's surface through its own DC, a layered one's on
    // the screen.
    HWND source = layered ? nullptr : window->GetHWND();
    HDC dc = GetDC(source);
    const int origin = layered ? 50 : 0;
    auto pixel = [&](int y) { return GetPixel(dc, origin + 50, origin + y); };
    ASSERT_TRUE(PumpUntil([&] { return pixel(90) == RGB(0, 255, 0); })) << layered;
    EXPECT_EQ(pixel(10), RGB(0, 0, 255)) << layered;
    EXPECT_EQ(pixel(50), RGB(128, 128, 128)) << layered;

    PumpFor(600);  // the show animation's end
    rows[0]->SetBkColor(L"red");
    rows[2]->SetBkColor(L"white");
    PumpFor(300);
    EXPECT_EQ(pixel(10), RGB(255, 0, 0)) << layered;
    EXPECT_EQ(pixel(50), RGB(128, 128, 128)) << layered;
    EXPECT_EQ(pixel(90), RGB(255, 255, 255)) << layered;
    ReleaseDC(source, dc);
    DestroyWindow(window->GetHWND());
  }
}

// The show fade draws the tree once and then only changes the layered window's alpha; the
// first frame on the screen (for a layered window, at a visible alpha) is reported once, and
// goes out with the first paint rather than on the fade timer's first tick.
TEST_F(Window_, TheShowFadeDrawsOnceAndReportsItsFirstVisibleFrame) {
  struct CountingControl : Control {
    void Paint(IRenderContext* context, const RECT& dirty) override {
      ++paints;
      Control::Paint(context, dirty);
    }
    int paints = 0;
  };
  GlobalManager::AddTextColor(L"blue", L"#FF0000FF");
  for (bool layered : {true, false}) {
    auto* root = new VBox();
    auto* child = new CountingControl();
    child->SetBkColor(L"blue");
    root->Add(child);
    NativeTestWindow* window = Make(RECT{50, 50, 150, 150}, layered, root);
    ASSERT_TRUE(PumpUntil([&] { return !window->first_frame_alphas.empty(); })) << layered;
    EXPECT_TRUE(window->first_frame_in_paint) << layered;
    if (layered) {
      EXPECT_GT(window->first_frame_alphas[0], 0);
    }
    ASSERT_TRUE(PumpUntil([&] { return window->GetWindowAlpha() == 255; })) << layered;
    PumpFor(100);
    EXPECT_EQ(window->first_frame_alphas.size(), 1u) << layered;
    if (layered) {
      EXPECT_EQ(child->paints, 1) << "drawn again for an alpha step";
      HDC screen = GetDC(nullptr);
      EXPECT_EQ(GetPixel(screen, 100, 100), RGB(0, 0, 255));
      ReleaseDC(nullptr, screen);
    }
    DestroyWindow(window->GetHWND());
  }
}

TEST_F(Window_, CaptionBitsAreRemoved) {
  NativeTestWindow window;
  HWND hwnd = window.CreateAt(RECT{0, 0, 50, 50}, false, WS_POPUP | WS_CAPTION);
  ASSERT_TRUE(hwnd);
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION, 0);
  DestroyWindow(hwnd);
}

TEST_F(Window_, AutoSizedRootResizesTheWindowAndCentres) {
  auto* root = new VBox();
  root->SetFixedWidth(kSizeAuto);
  root->SetFixedHeight(kSizeAuto);
  auto* child = new Control();
  child->SetFixedWidth(120);
  child->SetFixedHeight(70);
  root->Add(child);
  NativeTestWindow* window = Make(RECT{0, 0, 10, 10}, false, root);
  ASSERT_TRUE(PumpUntil([&] { return !window->IsArrangeNeeded(); }));
  RECT rect;
  GetWindowRect(window->GetHWND(), &rect);
  EXPECT_EQ(rect.right - rect.left, 120);
  EXPECT_EQ(rect.bottom - rect.top, 70);
  window->CenterWindow();
  GetWindowRect(window->GetHWND(), &rect);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window->GetHWND(), MONITOR_DEFAULTTONEAREST), &monitor);
  EXPECT_EQ(rect.left, (monitor.rcWork.left + monitor.rcWork.right) / 2 - 60);
}

TEST_F(Window_, CloseFadesThenPostsTheCodeAndDeletesLater) {
  auto* root = new VBox();
  auto* child = new Control();
  root->Add(child);
  NativeTestWindow* window = Make(RECT{0, 0, 100, 100}, true, root);
  ASSERT_TRUE(PumpUntil([&] { return !window->IsArrangeNeeded(); }));

  // Removing a child defers its deletion to the posted clean-up message.
  bool gone = false;
  struct Flag : UserDataBase {
    bool* gone;
    explicit Flag(bool* g) : gone(g) {}
    ~Flag() override { *gone = true; }
  };
  child->SetUserDataBase(new Flag(&gone));
  root->Remove(child);
  EXPECT_FALSE(gone);
  EXPECT_TRUE(PumpUntil([&] { return gone; }));

  int closes = 0;
  window->AttachWindowClose([&](EventArgs* args) { closes += args->Type == kEventWindowClose; return true; });
  const DWORD start = GetTickCount();
  window->Close(7);
  PumpFor(100);
  EXPECT_EQ(window->close_code, -1);  // still fading
  ASSERT_TRUE(PumpUntil([&] { return window->destroyed; }));
  EXPECT_GE(GetTickCount() - start, 250u);
  EXPECT_EQ(window->close_code, 7);
  EXPECT_EQ(closes, 1);
}

// A window whose events are recorded per control.
class Dispatch : public Window_ {
 protected:
  void SetUp() override {
    Window_::SetUp();
    auto* root = new HBox();
    for (int i = 0; i < 3; ++i) {
      auto* control = new LoggingControl();
      control->SetFixedWidth(50);
      root->Add(control);
      controls.push_back(control);
    }
    window = Make(RECT{100, 100, 250, 150}, false, root);
    ASSERT_TRUE(PumpUntil([&] { return !window->IsArrangeNeeded(); }));
    hwnd = window->GetHWND();
  }
  LRESULT Send(UINT message, WPARAM wparam, int x, int y) {
    return SendMessageW(hwnd, message, wparam, MAKELPARAM(x, y));
  }
  void Clear() {
    for (LoggingControl* control : controls) control->log.clear();
  }
  // The events of one control, without resize notifications.
  std::vector<int> Log(int index) {
    std::vector<int> log;
    for (int type : controls[index]->log)
      if (type != kEventResize) log.push_back(type);
    return log;
  }
  std::vector<LoggingControl*> controls;
  NativeTestWindow* window = nullptr;
  HWND hwnd = nullptr;
};

TEST_F(Dispatch, ButtonsAndWheel) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
  Send(WM_LBUTTONUP, 0, 12, 10);
  EXPECT_EQ(Log(0), (std::vector<int>{kEventInternalSetFocus, kEventSetFocus, kEventMouseButtonDown,
                                      kEventMouseButtonUp}));
  EXPECT_EQ(controls[0]->activations, 1);

  // Released over another control: the pressed one gets the button-up, no click.
  Clear();
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
  Send(WM_LBUTTONUP, 0, 60, 10);
  EXPECT_EQ(Log(0), (std::vector<int>{kEventMouseButtonDown, kEventMouseButtonUp}));
  EXPECT_EQ(controls[0]->activations, 1);
  EXPECT_TRUE(controls[1]->log.empty());

  // Right button: 20, 21, then the context menu reaches the same control.
  Clear();
  Send(WM_RBUTTONDOWN, MK_RBUTTON, 60, 10);
  Send(WM_RBUTTONUP, 0, 60, 10);
  POINT screen = {60, 10};
  ClientToScreen(hwnd, &screen);
  SendMessageW(hwnd, WM_CONTEXTMENU, 0, MAKELPARAM(screen.x, screen.y));
  EXPECT_EQ(Log(1), (std::vector<int>{kEventInternalSetFocus, kEventSetFocus, kEventMouseRightButtonDown,
                                      kEventMouseRightButtonUp, kEventInternalMenu}));
  EXPECT_EQ(Log(0), (std::vector<int>{kEventInternalKillFocus, kEventKillFocus}));

  Clear();
  screen = {110, 10};
  ClientToScreen(hwnd, &screen);
  SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), MAKELPARAM(screen.x, screen.y));
  EXPECT_EQ(Log(2), std::vector<int>{kEventMouseScrollWheel});
}

TEST_F(Dispatch, HoverEndsOnEveryLeave) {
  Send(WM_MOUSEMOVE, 0, 10, 10);
  EXPECT_EQ(window->GetHoverControl(), controls[0]);
  EXPECT_EQ(controls[0]->GetState(), kControlStateHot);
  Send(WM_MOUSEMOVE, 0, 60, 10);
  EXPECT_EQ(Log(0), (std::vector<int>{kEventMouseEnter, kEventMouseMove, kEventMouseLeave}));
  EXPECT_EQ(window->GetHoverControl(), controls[1]);
  // Wine posts no leave when tracking began outside: the test sends it, armed or not.
  SendMessageW(hwnd, WM_MOUSEHOVER, 0, MAKELPARAM(60, 10));
  SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(window->GetHoverControl(), nullptr);
  EXPECT_EQ(controls[1]->GetState(), kControlStateNormal);
  SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);  // a second leave is harmless
}

// comctl32 loads at the first tooltip: the hover over a control with a tooltip text makes the
// tooltip window.
TEST_F(Dispatch, TheFirstTooltipMakesItsWindow) {
  auto tooltip_of = [](HWND owner) {
    std::pair<HWND, HWND> search = {owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND candidate, LPARAM found) {
      auto* pair = reinterpret_cast<std::pair<HWND, HWND>*>(found);
      wchar_t name[64] = {};
      GetClassNameW(candidate, name, 64);
      if (std::wstring(name) != L"tooltips_class32" || GetWindow(candidate, GW_OWNER) != pair->first)
        return TRUE;
      pair->second = candidate;
      return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.second;
  };
  EXPECT_EQ(tooltip_of(hwnd), nullptr);
  controls[1]->SetToolTipText(L"tip");
  Send(WM_MOUSEMOVE, 0, 60, 10);
  SendMessageW(hwnd, WM_MOUSEHOVER, 0, MAKELPARAM(60, 10));
  EXPECT_NE(tooltip_of(hwnd), nullptr);
}

TEST_F(Dispatch, KeysGoToTheFocusAndTabWraps) {
  window->SetFocusControl(controls[1]);
  Clear();
  Send(WM_KEYDOWN, 'A', 0, 0);
  Send(WM_CHAR, 'a', 0, 0);
  Send(WM_KEYUP, 'A', 0, 0);
  EXPECT_EQ(Log(1), (std::vector<int>{kEventKeyDown, kEventChar, kEventKeyUp}));

  Send(WM_KEYDOWN, VK_TAB, 0, 0);
  EXPECT_EQ(window->GetFocusControl(), controls[2]);
  // The root is a tab stop too: the walk wraps to it, then to the first control.
  Send(WM_KEYDOWN, VK_TAB, 0, 0);
  EXPECT_EQ(window->GetFocusControl(), static_cast<Control*>(window->GetRoot()));
  Send(WM_KEYDOWN, VK_TAB, 0, 0);
  EXPECT_EQ(window->GetFocusControl(), controls[0]);
  window->SetNextTabControl(false);
  EXPECT_EQ(window->GetFocusControl(), static_cast<Control*>(window->GetRoot()));
  window->SetNextTabControl(false);
  EXPECT_EQ(window->GetFocusControl(), controls[2]);
}

TEST_F(Dispatch, KillFocusKeepsThePointAndCloseWhileHeldClicksNothing) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
  SendMessageW(hwnd, WM_KILLFOCUS, 0, MAKELPARAM(77, 33));
  EXPECT_EQ(window->GetLastMousePos().x, 10);
  EXPECT_EQ(window->GetClickControl(), controls[0]);  // no button-up flag: capture stays
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(controls[0]->activations, 0);
  EXPECT_TRUE(window->destroyed);
}

// The touch functions answer from this record (the test's screen point, in hundredths).
TOUCHINPUT g_touch = {};
BOOL WINAPI FakeTouchInfo(HTOUCHINPUT, UINT, PTOUCHINPUT inputs, int) {
  inputs[0] = g_touch;
  return TRUE;
}
BOOL WINAPI FakeCloseTouch(HTOUCHINPUT) { return TRUE; }

TEST_F(Dispatch, TouchDownMoveUpAndSwallowedPointers) {
  TouchFunctions saved = GetTouchFunctions();
  GetTouchFunctions().get_touch_input_info = FakeTouchInfo;
  GetTouchFunctions().close_touch_input_handle = FakeCloseTouch;
  auto touch = [&](DWORD flags, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(hwnd, &point);
    g_touch.x = point.x * 100;
    g_touch.y = point.y * 100;
    g_touch.dwID = 1;
    g_touch.dwFlags = flags;
    SendMessageW(hwnd, WM_TOUCH, 1, 1);
  };
  touch(TOUCHEVENTF_DOWN, 10, 10);
  touch(TOUCHEVENTF_MOVE, 10, 10);  // same point: nothing
  touch(TOUCHEVENTF_MOVE, 12, 10);
  touch(TOUCHEVENTF_UP, 12, 10);
  GetTouchFunctions() = saved;
  std::vector<int> touches;
  for (int type : Log(0))
    if (type >= kEventTouchDown && type <= kEventTouchUp) touches.push_back(type);
  EXPECT_EQ(touches, (std::vector<int>{kEventTouchDown, kEventTouchMove, kEventTouchUp}));

  // A pointer message without the primary flag is swallowed.
  Clear();
  EXPECT_EQ(SendMessageW(hwnd, WM_POINTERDOWN, 1, MAKELPARAM(10, 10)), 0);
  EXPECT_TRUE(Log(0).empty());
}

TEST_F(Dispatch, RealClickThroughTheXServer) {
  SetForegroundWindow(hwnd);
  PumpFor(200);
  if (!XClick(hwnd, POINT{75, 20})) GTEST_SKIP() << "xdotool not available";
  EXPECT_TRUE(PumpUntil([&] { return controls[1]->activations == 1; }, 5000));
}

TEST(WindowNames, DeletingAControlErasesOnlyItsOwnEntries) {
  RecordingWindow window;
  auto* root = new Box();
  auto* first = new Control();
  auto* second = new Control();
  auto* renamed = new Control();
  first->SetName(L"same");
  second->SetName(L"same");
  renamed->SetName(L"old");
  root->Add(first);
  root->Add(second);
  root->Add(renamed);
  window.AttachRoot(root);
  EXPECT_EQ(window.FindControlByName(L"same"), second);  // the later one wins
  root->SetDelayedDestroy(false);
  window.InitControls(first, root);  // registers `first` again under "same"
  root->Remove(second);
  EXPECT_EQ(window.FindControlByName(L"same"), first);
  renamed->SetName(L"new");
  window.InitControls(renamed, root);  // now under both names
  root->Remove(renamed);
  EXPECT_EQ(window.FindControlByName(L"old"), nullptr);
  EXPECT_EQ(window.FindControlByName(L"new"), nullptr);
  EXPECT_EQ(window.FindControlByName(L"same"), first);
}

TEST(WindowServices, PathsGroupsAndLimits) {
  Window window;
  window.SetResourcePath(L"skin");
  EXPECT_EQ(window.GetResourcePath(), L"skin\\");
  window.SetResourcePath(L"skin/");
  EXPECT_EQ(window.GetResourcePath(), L"skin/");
  Control a, b, c;
  EXPECT_TRUE(window.AddOptionGroup(L"g", &a));
  EXPECT_FALSE(window.AddOptionGroup(L"g", &a));
  EXPECT_TRUE(window.AddOptionGroup(L"g", &b));
  EXPECT_TRUE(window.AddOptionGroup(L"g", &c));
  window.RemoveOptionGroup(L"g", &b);
  const OptionGroup* group = window.GetOptionGroup(L"g");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(std::vector<Control*>(group->begin(), group->end()), (std::vector<Control*>{&a, &c}));
  window.RemoveOptionGroup(L"g", &a);
  window.RemoveOptionGroup(L"g", &c);
  EXPECT_EQ(window.GetOptionGroup(L"g"), nullptr);
  window.SetMinInfo(0, 300);  // shadow attached by default
  EXPECT_EQ(window.GetMinInfo().cx, 0);
  EXPECT_EQ(window.GetMinInfo().cy, 328);
}

}  // namespace
}  // namespace ui
