#include <gtest/gtest.h>

#include <cmath>

#include "AIAnimate.h"
#include "ColorBar.h"
#include "GdiplusSession.h"
#include "LayeredWnd.h"
#include "PanelTestSupport.h"
#include "StatusIconImage.h"

namespace {

constexpr COLORREF kColorA = RGB(42, 204, 112);
constexpr COLORREF kColorB = RGB(51, 152, 219);

TEST(ColorBarSplit, MovesWithTheStepInRealSteps) {
  struct Case {
    unsigned step;
    int width;
    int split;
  } cases[] = {
      {0, 330, 164},    // every session starts at half the width
      {40, 330, 281},   // a step below 80 already moves the meeting point
      {84, 330, 329},   // near the right end
      {209, 100, 0},    // at the left end
      {0, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ColorBarSplit(c.step, c.width), c.split) << c.step << " " << c.width;
  }
}

class ColorBarTest : public testing::Test {
 protected:
  void Host(int width, int height) {
    host_ = std::make_unique<ControlHost>(width, height);
    ASSERT_TRUE(bar_.SubclassWindow(host_->control()));
    bar_.SetBkColor(RGB(0, 0, 0));
    bar_.SetColors(kColorA, kColorB);
  }

  std::unique_ptr<ControlHost> host_;
  CColorBar bar_;
};

TEST_F(ColorBarTest, PaintsTwoGradientsMeetingAtTheSplit) {
  Host(200, 3);
  const Snapshot start(bar_.m_hWnd);  // split 99
  EXPECT_TRUE(CloseColor(start.At(0, 1), kColorB));
  EXPECT_TRUE(CloseColor(start.At(98, 1), kColorA));
  EXPECT_TRUE(CloseColor(start.At(100, 1), kColorA));
  EXPECT_TRUE(CloseColor(start.At(199, 1), kColorB));
}

TEST_F(ColorBarTest, AMeetingPointAtTheEdgeLeavesOneGradient) {
  Host(100, 3);
  bar_.SetStep(209);  // split 0: the left rectangle is empty
  const Snapshot shot(bar_.m_hWnd);
  EXPECT_TRUE(CloseColor(shot.At(0, 1), kColorA));
  EXPECT_TRUE(CloseColor(shot.At(50, 1), RGB(46, 178, 165), 16));
  EXPECT_TRUE(CloseColor(shot.At(99, 1), kColorB));
}

TEST_F(ColorBarTest, TheTimerStepsAndWrapsTheCounter) {
  Host(100, 3);
  bar_.SetStep(312);
  bar_.SendMessage(WM_TIMER, CColorBar::kTimerId);
  EXPECT_EQ(bar_.GetStep(), 313u);
  bar_.SendMessage(WM_TIMER, CColorBar::kTimerId);
  EXPECT_EQ(bar_.GetStep(), 0u);
  bar_.SendMessage(WM_TIMER, 99);  // not its timer
  EXPECT_EQ(bar_.GetStep(), 0u);

  bar_.StartTimer();
  PumpMessages(400);
  bar_.StopTimer();
  EXPECT_GE(bar_.GetStep(), 2u);
}

TEST(AIAnimate, CirclesSwingInOppositePhase) {
  constexpr COLORREF inner = RGB(0, 174, 29);
  constexpr COLORREF outer = RGB(9, 109, 24);
  ControlHost host(80, 80);
  CAIAnimate animation;
  ASSERT_TRUE(animation.SubclassWindow(host.control()));
  animation.SetBkColor(RGB(0, 0, 0));
  animation.SetInnerColor(inner);
  animation.SetOuterColor(outer);

  // Phase 0: outer radius 39.6, inner 16 around (40, 40).
  const Snapshot first(animation.m_hWnd);
  EXPECT_EQ(first.At(40, 40), inner);
  EXPECT_EQ(first.At(60, 40), outer);
  EXPECT_EQ(first.At(40, 75), outer);
  EXPECT_EQ(first.At(2, 2), RGB(0, 0, 0));

  // A quarter turn: outer radius 30, inner 24.
  animation.SetPhaseStep(1.5707963f);
  animation.SendMessage(WM_TIMER, CAIAnimate::kTimerId);
  const Snapshot turned(animation.m_hWnd);
  EXPECT_EQ(turned.At(60, 40), inner);
  EXPECT_EQ(turned.At(67, 40), outer);
  EXPECT_EQ(turned.At(40, 75), RGB(0, 0, 0));
}

// The status icon window, owned by a stand-in for the panel.
class LayeredWndTest : public testing::Test {
 protected:
  LayeredWndTest()
      : owner_window_(CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 100, 100, 330, 110,
                                      nullptr, nullptr, nullptr, nullptr)) {
    owner_.SubclassWindow(owner_window_);
  }
  ~LayeredWndTest() override {
    icon_.DestroyWindow();
    owner_.UnsubclassWindow();
    DestroyWindow(owner_window_);
  }
  SIZE WindowSize() const {
    CRect rect;
    icon_.GetWindowRect(rect);
    return {rect.Width(), rect.Height()};
  }

  HWND owner_window_;
  CWnd owner_;
  CLayeredWnd icon_;
};

TEST_F(LayeredWndTest, IsCreatedOnceAsALayeredWindowOfItsOwner) {
  EXPECT_FALSE(icon_.Create(nullptr));
  CWnd unbound;
  EXPECT_FALSE(icon_.Create(&unbound));
  EXPECT_EQ(icon_.m_hWnd, nullptr);

  ASSERT_TRUE(icon_.Create(&owner_));
  const HWND window = icon_.m_hWnd;
  EXPECT_TRUE(icon_.GetExStyle() & WS_EX_LAYERED);
  EXPECT_EQ(GetWindow(window, GW_OWNER), owner_window_);
  EXPECT_TRUE(icon_.Create(&owner_));
  EXPECT_EQ(icon_.m_hWnd, window);
}

TEST_F(LayeredWndTest, RedrawTakesTheImageSizeAndAMissingImageChangesNothing) {
  ASSERT_TRUE(icon_.Create(&owner_));
  const SIZE created = WindowSize();
  icon_.SetImage(GetModuleHandleW(nullptr), L"icon_widget_missing");
  EXPECT_FALSE(icon_.Redraw());
  EXPECT_EQ(WindowSize().cx, created.cx);
  EXPECT_EQ(WindowSize().cy, created.cy);

  icon_.SetImage(GetModuleHandleW(nullptr), L"icon_imewidget_grey");
  ASSERT_TRUE(icon_.Redraw());
  EXPECT_EQ(WindowSize().cx, 40);
  EXPECT_EQ(WindowSize().cy, 40);

  icon_.SetImage(GetModuleHandleW(nullptr), L"icon_network_missing");
  EXPECT_FALSE(icon_.Redraw());
  EXPECT_EQ(WindowSize().cx, 40);
}

TEST_F(LayeredWndTest, ClosingAndFocusGoToTheOwner) {
  ASSERT_TRUE(icon_.Create(&owner_));
  icon_.SendMessage(WM_CLOSE);
  EXPECT_TRUE(IsWindow(icon_.m_hWnd));
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, owner_window_, WM_CLOSE, WM_CLOSE, PM_REMOVE));

  ShowWindow(owner_window_, SW_SHOWNA);
  icon_.SendMessage(WM_SETFOCUS);
  EXPECT_EQ(GetFocus(), owner_window_);
}

// Pixels of the composed picture, compared whole.
std::vector<uint32_t> IconPixels(const std::wstring& text) {
  SIZE size{};
  HBITMAP dib = RenderStatusIcon(GetModuleHandleW(nullptr), L"ICON_TRANSLATION", text, &size);
  if (dib == nullptr) return {};
  DIBSECTION section{};
  GetObjectW(dib, sizeof section, &section);
  const auto* bits = static_cast<const uint32_t*>(section.dsBm.bmBits);
  std::vector<uint32_t> pixels(bits, bits + size.cx * size.cy);
  DeleteObject(dib);
  return pixels;
}

TEST(StatusIconImage, DrawsTheTextOnlyWhenItHasTwoCharacters) {
  GdiplusSession gdiplus;
  const auto plain = IconPixels(L"");
  ASSERT_EQ(plain.size(), 40u * 40u);
  // The image keeps its alpha: corners are transparent, the middle opaque.
  EXPECT_EQ(plain[0] >> 24, 0u);
  EXPECT_EQ(plain[20 * 40 + 20] >> 24, 255u);

  EXPECT_EQ(IconPixels(L"中"), plain);
  EXPECT_EQ(IconPixels(L"中英日"), plain);
  const auto labelled = IconPixels(L"中英");
  ASSERT_EQ(labelled.size(), plain.size());
  EXPECT_NE(labelled, plain);
}

}  // namespace
