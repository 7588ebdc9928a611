// The scroll bar alone: geometry of buttons and thumb, value limits, press-and-hold repeat
// and thumb dragging.
#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "widgets/ScrollBar.h"

namespace ui {
namespace {

int Length(const RECT& r) { return r.bottom - r.top; }

TEST(ScrollBar, Geometry) {
  ScrollBar bar;
  bar.SetPos(RECT{0, 0, 16, 200});
  EXPECT_EQ(bar.GetButton1Rect().bottom, 16);
  EXPECT_EQ(bar.GetButton2Rect().top, 184);
  // Thumb 168 * 200 / (100 + 200) = 112 at value 0.
  EXPECT_EQ(Length(bar.GetThumbRect()), 112);
  bar.SetScrollPos(100);
  EXPECT_EQ(bar.GetThumbRect().bottom, 184);  // never past button 2

  bar.SetScrollRange(100000);
  EXPECT_EQ(Length(bar.GetThumbRect()), 30);  // the minimum length

  // A free length below the minimum: the thumb fits between the buttons.
  bar.SetPos(RECT{0, 0, 16, 52});
  EXPECT_EQ(Length(bar.GetThumbRect()), 20);
  EXPECT_LE(bar.GetThumbRect().bottom, bar.GetButton2Rect().top);
  EXPECT_GE(bar.GetThumbRect().top, bar.GetButton1Rect().bottom);

  // Shorter than its two buttons: shrunken buttons and no thumb.
  bar.SetPos(RECT{0, 0, 16, 20});
  EXPECT_EQ(Length(bar.GetButton1Rect()), 10);
  EXPECT_EQ(Length(bar.GetThumbRect()), 0);
}

TEST(ScrollBar, ValueLimitsAndRangeZeroHides) {
  ScrollBar bar;
  bar.SetScrollPos(-5);
  EXPECT_EQ(bar.GetScrollPos(), 0);
  bar.SetScrollPos(500);
  EXPECT_EQ(bar.GetScrollPos(), 100);
  bar.SetScrollRange(40);
  EXPECT_EQ(bar.GetScrollPos(), 40);
  bar.SetScrollRange(0);
  EXPECT_FALSE(bar.IsVisible());
}

TEST(ScrollBar, HoldingAnArrowRepeatsAfterAPause) {
  ScrollBar bar;
  bar.SetScrollRange(1000);
  bar.SetPos(RECT{0, 0, 16, 200});
  bar.SendEvent(kEventMouseButtonDown, 0, 0, 0, POINT{8, 190});
  EXPECT_EQ(bar.GetScrollPos(), 8);  // one line at once
  PumpFor(200);
  EXPECT_EQ(bar.GetScrollPos(), 8);  // nothing for five ticks
  EXPECT_TRUE(PumpUntil([&] { return bar.GetScrollPos() >= 24; }, 1000));
  bar.SendEvent(kEventMouseButtonUp, 0, 0, 0, POINT{8, 190});
  const int64_t stopped = bar.GetScrollPos();
  PumpFor(200);
  EXPECT_EQ(bar.GetScrollPos(), stopped);
}

TEST(ScrollBar, DraggingTheThumbOverTheTrackCoversTheRange) {
  ScrollBar bar;
  bar.SetPos(RECT{0, 0, 16, 200});
  const RECT thumb = bar.GetThumbRect();
  const int track = 200 - 32 - Length(thumb);
  const POINT press = {8, thumb.top + 5};
  bar.SendEvent(kEventMouseButtonDown, 0, 0, 0, press);
  bar.SendEvent(kEventMouseMove, 0, 0, 0, POINT{8, press.y + track});
  EXPECT_TRUE(PumpUntil([&] { return bar.GetScrollPos() == 100; }, 1000));
  bar.SendEvent(kEventMouseButtonUp, 0, 0, 0, POINT{8, press.y + track});
}

}  // namespace
}  // namespace ui
