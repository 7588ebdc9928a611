// Progress, circular progress and slider: geometry tables, range repair, the user's changes
// to a slider, and pixel samples of a painted ring.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "FileBytes.h"
#include "RecordingContext.h"
#include "RenderTestSupport.h"
#include "TempFolder.h"
#include "TestImages.h"
#include "widgets/progress/CircleProgress.h"
#include "widgets/progress/Slider.h"

namespace ui {
namespace {

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

class ProgressTest : public FrameworkStarted {
 protected:
  template <typename T>
  T* Place(T* control, RECT rect, std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> attributes) {
    for (const auto& attribute : attributes) control->SetAttribute(attribute.first, attribute.second);
    control->SetPos(rect);
    return control;
  }
};

TEST_F(ProgressTest, FilledPartAndRangeRepair) {
  struct Case {
    std::vector<std::pair<const wchar_t*, const wchar_t*>> attributes;
    RECT rect;
    RECT filled;
    int64_t stored_max;
    double stored_value;
  };
  const Case cases[] = {
      {{{L"value", L"25"}}, {0, 0, 200, 12}, {0, 0, 50, 12}, 100, 25},
      {{{L"value", L"150"}}, {0, 0, 200, 12}, {0, 0, 200, 12}, 100, 100},
      {{{L"value", L"-5"}}, {0, 0, 200, 12}, {0, 0, 0, 12}, 100, 0},
      {{{L"min", L"50"}, {L"max", L"50"}, {L"value", L"50"}}, {0, 0, 200, 12}, {0, 0, 0, 12}, 51, 50},
      {{{L"hor", L"false"}, {L"value", L"25"}}, {0, 0, 12, 100}, {0, 75, 12, 100}, 100, 25},
      {{{L"min", L"10"}, {L"max", L"20"}, {L"value", L"15"}}, {5, 5, 105, 17}, {0, 0, 50, 12}, 20, 15},
      {{{L"min", L"2147483647"}, {L"value", L"5"}}, {0, 0, 200, 12}, {0, 0, 0, 12}, 2147483648LL,
       2147483647},
  };
  for (const Case& c : cases) {
    Progress progress;
    for (const auto& attribute : c.attributes) progress.SetAttribute(attribute.first, attribute.second);
    progress.SetPos(c.rect);
    RecordingContext context;
    progress.PaintStatusImage(&context);
    EXPECT_TRUE(Same(progress.GetProgressPos(), c.filled)) << RectText(progress.GetProgressPos());
    EXPECT_EQ(progress.GetMaxValue(), c.stored_max);
    EXPECT_EQ(progress.GetValue(), c.stored_value);
  }
}

TEST_F(ProgressTest, EqualMinimumAndMaximumBeforeAnyPaint) {
  Progress progress;
  progress.SetAttribute(L"min", L"50");
  progress.SetAttribute(L"max", L"50");
  progress.SetAttribute(L"value", L"70");
  progress.SetPos(RECT{0, 0, 200, 12});
  const RECT filled = progress.GetProgressPos();
  EXPECT_GE(filled.right, 0);
  EXPECT_LE(filled.right, 200 * 20);
  CircleProgress circle;
  circle.SetAttribute(L"min", L"5");
  circle.SetAttribute(L"max", L"5");
  EXPECT_TRUE(std::isfinite(circle.GetSweepAngle()));
}

TEST_F(ProgressTest, FillColourOnlyWhenRegistered) {
  GlobalManager::AddTextColor(L"blue", L"#FF0000FF");
  Progress progress;
  progress.SetAttribute(L"value", L"50");
  progress.SetAttribute(L"progresscolor", L"  blue");
  progress.SetPos(RECT{10, 0, 110, 12});
  RecordingContext context;
  progress.PaintStatusImage(&context);
  EXPECT_EQ(context.calls, std::vector<std::wstring>{L"Color 10,0,60,12 FF0000FF alpha 255"});
  progress.SetAttribute(L"progresscolor", L"nosuchcolor");
  RecordingContext none;
  progress.PaintStatusImage(&none);
  EXPECT_TRUE(none.calls.empty());
}

TEST_F(ProgressTest, FillPixels) {
  GlobalManager::AddTextColor(L"blue", L"#FF0000FF");
  struct Case {
    const wchar_t* horizontal;
    RECT rect;
    POINT filled;
    POINT empty;
  };
  const Case cases[] = {{L"true", {0, 0, 100, 12}, {49, 6}, {51, 6}},
                        {L"false", {0, 0, 12, 100}, {6, 51}, {6, 49}}};
  for (const Case& c : cases) {
    Progress progress;
    for (auto [name, value] : {std::pair{L"value", L"50"}, {L"progresscolor", L"blue"},
                               {L"hor", c.horizontal}})
      progress.SetAttribute(name, value);
    progress.SetPos(c.rect);
    auto surface = Surface(100, 100);
    progress.PaintStatusImage(surface.get());
    EXPECT_EQ(Rgb(PixelAt(surface.get(), c.filled.x, c.filled.y)), 0x0000FFu) << c.horizontal;
    EXPECT_EQ(PixelAt(surface.get(), c.empty.x, c.empty.y), 0u) << c.horizontal;
  }
}

TEST_F(ProgressTest, CircleGeometry) {
  CircleProgress circle;
  circle.SetAttribute(L"circlewidth", L"6");
  circle.SetAttribute(L"value", L"25");
  circle.SetPos(RECT{0, 0, 200, 100});
  EXPECT_TRUE(Same(circle.GetRingSquare(), RECT{50, 0, 150, 100}));
  EXPECT_TRUE(Same(circle.GetArcRect(), RECT{54, 4, 146, 96}));
  EXPECT_FLOAT_EQ(circle.GetSweepAngle(), 90.0f);
  circle.SetAttribute(L"clockwise", L"false");
  EXPECT_FLOAT_EQ(circle.GetSweepAngle(), -90.0f);
}

TEST_F(ProgressTest, CirclePixels) {
  GlobalManager::AddTextColor(L"red", L"#FFFF0000");
  GlobalManager::AddTextColor(L"grey", L"#FF808080");
  CircleProgress circle;
  for (auto [name, value] : {std::pair{L"circlewidth", L"8"}, {L"value", L"25"},
                             {L"fgcolor", L"red"}, {L"bgcolor", L"grey"}})
    circle.SetAttribute(name, value);
  circle.SetPos(RECT{0, 0, 100, 100});
  auto surface = Surface(100, 100);
  circle.PaintStatusImage(surface.get());
  // Arc box (5,5)-(95,95): radius 45 around (50,50). 45 degrees clockwise from the top is in
  // the swept quarter; the opposite side is only the background ring; the centre is empty.
  const int r = 45;
  const int d = static_cast<int>(std::lround(r * std::sqrt(0.5)));
  EXPECT_EQ(Rgb(PixelAt(surface.get(), 50 + d, 50 - d)), 0xFF0000u);
  EXPECT_EQ(Rgb(PixelAt(surface.get(), 50 - d, 50 + d)), 0x808080u);
  EXPECT_EQ(Rgb(PixelAt(surface.get(), 50, 95)), 0x808080u);
  EXPECT_EQ(PixelAt(surface.get(), 50, 50), 0u);
}

TEST_F(ProgressTest, IndicatorSurvivesACacheClear) {
  TempFolder folder;
  const std::wstring path = folder.File(L"dot.png");
  WriteBytes(path, MakePng(4, 6, std::vector<uint32_t>(24, 0xFF00FF00)));
  CircleProgress circle;
  circle.SetAttribute(L"indicator", path);
  circle.SetPos(RECT{0, 0, 100, 100});
  ASSERT_TRUE(circle.HasIndicator());
  EXPECT_EQ(circle.GetIndicatorSize().cx, 6);  // turned a quarter
  circle.ClearImageCache();
  auto surface = Surface(100, 100);
  circle.PaintStatusImage(surface.get());
  EXPECT_TRUE(circle.HasIndicator());
  // An indicator above the pixel budget is not decoded.
  const std::wstring huge = folder.File(L"huge.png");
  WriteBytes(huge, PngAnnouncing(40000, 40000));
  circle.SetAttribute(L"indicator", huge);
  EXPECT_FALSE(circle.HasIndicator());
}

class SliderTest : public ProgressTest {
 protected:
  void SetUp() override {
    ProgressTest::SetUp();
    root_ = new Box();
    slider_ = new Slider();
    root_->Add(slider_);
    window_.AttachRoot(root_);
    slider_->AttachEvent(kEventValueChange, [this](EventArgs*) {
      announced_.push_back(slider_->GetValue());
      return true;
    });
  }
  void Mouse(int type, int x, int y, WPARAM wparam = 0) {
    EventArgs args;
    args.Type = type;
    args.pSender = slider_;
    args.ptMouse = POINT{x, y};
    args.wParam = wparam;
    slider_->HandleMessage(args);
  }

  RecordingWindow window_;
  Box* root_ = nullptr;
  Slider* slider_ = nullptr;
  std::vector<double> announced_;
};

TEST_F(SliderTest, ThumbAndFillGeometry) {
  struct Case {
    bool horizontal;
    RECT rect;
    const wchar_t* thumb_size;
    int value;
    RECT thumb;
    RECT filled;
  };
  const Case cases[] = {
      {true, {0, 0, 110, 20}, L"10,10", 0, {0, 5, 10, 15}, {0, 0, 5, 20}},
      {true, {0, 0, 110, 20}, L"10,10", 50, {50, 5, 60, 15}, {0, 0, 55, 20}},
      {true, {0, 0, 110, 20}, L"10,10", 100, {100, 5, 110, 15}, {0, 0, 105, 20}},
      {true, {10, 0, 126, 20}, L"16,8", 50, {60, 6, 76, 14}, {0, 0, 58, 20}},
      {false, {0, 0, 20, 110}, L"10,10", 0, {5, 100, 15, 110}, {0, 105, 20, 110}},
      {false, {0, 0, 20, 110}, L"10,10", 100, {5, 0, 15, 10}, {0, 5, 20, 110}},
  };
  for (const Case& c : cases) {
    slider_->SetAttribute(L"hor", c.horizontal ? L"true" : L"false");
    slider_->SetAttribute(L"thumbsize", c.thumb_size);
    slider_->SetValue(c.value);
    slider_->SetPos(c.rect);
    EXPECT_TRUE(Same(slider_->GetThumbRect(), c.thumb)) << RectText(slider_->GetThumbRect());
    EXPECT_TRUE(Same(slider_->GetProgressPos(), c.filled)) << RectText(slider_->GetProgressPos());
  }
}

TEST_F(SliderTest, ValueFromPoint) {
  struct Case {
    bool horizontal;
    RECT rect;
    POINT point;
    double value;
  };
  const Case cases[] = {
      {true, {0, 0, 110, 20}, {55, 10}, 50},   {true, {0, 0, 110, 20}, {-30, 10}, 0},
      {true, {0, 0, 110, 20}, {500, 10}, 100}, {true, {0, 0, 110, 20}, {105, 10}, 100},
      {false, {0, 0, 20, 110}, {10, 0}, 100},  {false, {0, 0, 20, 110}, {10, 55}, 50},
      {false, {0, 0, 20, 110}, {10, 200}, 0},
      // As long as its thumb: no room to slide, and no division by zero.
      {true, {0, 0, 10, 20}, {5, 10}, 100},    {false, {0, 0, 20, 10}, {10, 5}, 0},
  };
  for (const Case& c : cases) {
    slider_->SetAttribute(L"hor", c.horizontal ? L"true" : L"false");
    slider_->SetPos(c.rect);
    EXPECT_DOUBLE_EQ(slider_->ValueFromPoint(c.point), c.value)
        << RectText(c.rect) << " at " << c.point.x << "," << c.point.y;
  }
}

TEST_F(SliderTest, ClickAwayFromTheThumbSetsTheValueOnRelease) {
  slider_->SetPos(RECT{0, 0, 110, 20});
  Mouse(kEventMouseButtonDown, 80, 10);
  EXPECT_EQ(slider_->GetValue(), 0);
  EXPECT_FALSE(slider_->IsMouseFocused());
  Mouse(kEventMouseMove, 90, 10);  // not dragging: nothing
  EXPECT_EQ(slider_->GetValue(), 0);
  Mouse(kEventMouseButtonUp, 80, 10);
  EXPECT_DOUBLE_EQ(slider_->GetValue(), 75);
  EXPECT_EQ(announced_, std::vector<double>{75});
}

TEST_F(SliderTest, DraggingPastTheEndsGivesTheLimits) {
  slider_->SetPos(RECT{0, 0, 110, 20});
  Mouse(kEventMouseButtonDown, 5, 10);  // on the thumb
  EXPECT_TRUE(slider_->IsMouseFocused());
  Mouse(kEventMouseMove, 400, 10);
  EXPECT_EQ(slider_->GetValue(), 100);
  Mouse(kEventMouseMove, -400, 10);
  EXPECT_EQ(slider_->GetValue(), 0);
  Mouse(kEventMouseButtonUp, -400, 10);
  EXPECT_FALSE(slider_->IsMouseFocused());
  EXPECT_EQ(announced_, std::vector<double>{0});
}

TEST_F(SliderTest, WheelStaysInRangeBeforeAnnouncing) {
  slider_->SetAttribute(L"step", L"30");
  slider_->SetValue(80);
  Mouse(kEventMouseScrollWheel, 0, 0, 120);
  Mouse(kEventMouseScrollWheel, 0, 0, static_cast<WPARAM>(-120));
  slider_->SetValue(10);
  Mouse(kEventMouseScrollWheel, 0, 0, static_cast<WPARAM>(-120));
  EXPECT_EQ(announced_, (std::vector<double>{100, 70, 0}));
  // The range repair at the largest minimum does not wrap.
  slider_->SetAttribute(L"min", L"2147483647");
  announced_.clear();
  Mouse(kEventMouseScrollWheel, 0, 0, 120);
  EXPECT_EQ(announced_, std::vector<double>{2147483647.0});
  EXPECT_EQ(slider_->GetMaxValue(), 2147483648LL);
}

}  // namespace
}  // namespace ui
