// Layout tables: vertical and horizontal stacks, tiles and floating children, with the
// mended cases (no second DPI scaling, no negative sizes or column counts).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "control/Control.h"
#include "layout/Box.h"
#include "layout/Layout.h"
#include "system/DpiManager.h"

namespace ui {
namespace {

struct Child {
  int width, height;  // -1 stretch, -2 auto
  int min_height = -1, max_height = 9999999;
};

// Children of the given sizes stacked in `rect`; returns each child's position.
template <typename LayoutType>
std::vector<RECT> Arrange(const std::vector<Child>& specs, RECT rect, int child_margin = 0,
                          SIZE* needed = nullptr) {
  std::vector<std::unique_ptr<Control>> owned;
  ChildList children;
  for (const Child& spec : specs) {
    auto control = std::make_unique<Control>();
    control->SetFixedWidth(spec.width, false, false);
    control->SetFixedHeight(spec.height, false);
    if (spec.min_height >= 0) control->SetMinHeight(spec.min_height);
    control->SetMaxHeight(spec.max_height);
    children.push_back(control.get());
    owned.push_back(std::move(control));
  }
  LayoutType layout;
  layout.SetChildMargin(child_margin);
  const SIZE result = layout.ArrangeChild(children, rect);
  if (needed) *needed = result;
  std::vector<RECT> positions;
  for (Control* child : children) positions.push_back(child->GetPos(true));
  return positions;
}

int Height(const RECT& r) { return r.bottom - r.top; }
int Width(const RECT& r) { return r.right - r.left; }

TEST(VLayout, StretchSharesAndLimits) {
  struct Case {
    std::vector<Child> children;
    int height;
    std::vector<int> heights;
    const char* what;
  };
  const Case cases[] = {
      {{{-1, -1}, {-1, -1}, {-1, 19}}, 120, {51, 50, 19}, "101 free pixels: the first gets one more"},
      {{{-1, -1}, {-1, -1}, {-1, -1}}, 100, {34, 33, 33}, "three share 100"},
      {{{-1, -1, -1, 20}, {-1, -1}}, 100, {20, 50}, "a max below the share keeps the max"},
      {{{-1, 150}, {-1, -1, 5}}, 100, {150, 5}, "overflow: stretch gets 0, then its min"},
  };
  for (const Case& test : cases) {
    const std::vector<RECT> positions = Arrange<VLayout>(test.children, RECT{0, 0, 40, test.height});
    std::vector<int> heights;
    for (const RECT& r : positions) heights.push_back(Height(r));
    EXPECT_EQ(heights, test.heights) << test.what;
  }
  SIZE needed;
  const std::vector<RECT> one = Arrange<VLayout>({{-1, 10}}, RECT{0, 0, 40, 100}, 7, &needed);
  EXPECT_EQ(needed.cy, 10);  // one child: no child margin
  Arrange<VLayout>({}, RECT{0, 0, 40, 100}, 7, &needed);
  EXPECT_EQ(needed.cy, 0);
  const std::vector<RECT> two = Arrange<VLayout>({{-1, 10}, {-1, 10}}, RECT{0, 0, 40, 100}, 7, &needed);
  EXPECT_EQ(two[1].top, 17);
  EXPECT_EQ(needed.cy, 27);
}

TEST(HLayout, StretchAndCrossSize) {
  const std::vector<RECT> positions = Arrange<HLayout>({{30, -1}, {-1, 10}, {-1, -1}}, RECT{0, 0, 101, 50});
  EXPECT_EQ(Width(positions[0]), 30);
  EXPECT_EQ(Width(positions[1]), 36);
  EXPECT_EQ(Width(positions[2]), 35);
  EXPECT_EQ(Height(positions[0]), 50);
  EXPECT_EQ(Height(positions[1]), 10);
  EXPECT_EQ(positions[2].left, 66);
}

TEST(TileLayout, ColumnsFromItemWidthAndNeverNegative) {
  TileBox box;
  std::vector<Control*> items;
  for (int i = 0; i < 3; ++i) {
    auto* item = new Control();
    item->SetFixedWidth(-1, false, false);
    item->SetFixedHeight(20, false);
    box.Add(item);
    items.push_back(item);
  }
  auto* tiles = static_cast<TileLayout*>(box.GetLayout());
  tiles->SetItemSize(SIZE{100, 20});
  box.SetPos(RECT{0, 0, 251, 100});
  EXPECT_EQ(tiles->GetColumns(), 2);
  EXPECT_EQ(Width(items[0]->GetPos(true)), 126);
  EXPECT_EQ(Width(items[1]->GetPos(true)), 125);
  EXPECT_EQ(items[2]->GetPos(true).top, 20);

  // A box squeezed to a negative width still has one column and no negative size.
  box.SetPos(RECT{50, 0, 50, 100});
  tiles->ArrangeChild(ChildList{items.begin(), items.end()}, RECT{50, 0, 20, 100});
  EXPECT_EQ(tiles->GetColumns(), 1);
  EXPECT_GE(Width(items[0]->GetPos(true)), 0);

  tiles->SetColumns(0);  // ignored
  EXPECT_EQ(tiles->GetColumns(), 1);

  // An auto-sized tile box with stretch-sized items needs no negative height.
  TileBox auto_box;
  auto* stretch = new Control();
  auto_box.Add(stretch);
  auto_box.SetFixedHeight(kSizeAuto);
  EXPECT_GE(auto_box.EstimateSize(SIZE{200, 200}).cy, 0);
}

TEST(FloatLayout, AlignmentAndAnEmptyBoxNeedsOnlyItsPadding) {
  Box box;
  auto* child = new Control();
  child->SetFixedWidth(20, false, false);
  child->SetFixedHeight(10, false);
  child->SetAttribute(L"halign", L"right");
  child->SetAttribute(L"valign", L"center");
  box.Add(child);
  box.SetPos(RECT{0, 0, 100, 50});
  EXPECT_EQ(child->GetPos(true).left, 80);
  EXPECT_EQ(child->GetPos(true).top, 20);

  Box empty;
  empty.GetLayout()->SetPadding(RECT{3, 4, 5, 6}, false);
  empty.SetFixedWidth(kSizeAuto, false, false);
  empty.SetFixedHeight(kSizeAuto);
  const SIZE size = empty.EstimateSize(SIZE{500, 500});
  EXPECT_EQ(size.cx, 8);
  EXPECT_EQ(size.cy, 10);
}

// Gives every control a fixed text width, like a label.
class WideText : public Control {
 public:
  SIZE EstimateText(SIZE, bool& re_estimate) override {
    re_estimate = false;
    return SIZE{cx_fixed_ > 0 ? cx_fixed_ : 300, 16};
  }
};

TEST(FloatLayout, AutoWidthChildIsNotScaledTwice) {
  DpiManager* dpi = DpiManager::GetInstance();
  dpi->SetAdaptDPI(true);
  dpi->SetScale(150);
  Box box;
  auto* child = new WideText();
  child->SetFixedWidth(kSizeAuto, false, false);
  child->SetFixedHeight(kSizeAuto);
  child->SetMaxWidth(kSizeStretch);
  box.Add(child);
  box.SetPos(RECT{0, 0, 200, 100});
  dpi->SetScale(100);
  dpi->SetAdaptDPI(false);
  EXPECT_EQ(Width(child->GetPos(true)), 200);
  EXPECT_EQ(child->GetFixedWidth(), kSizeAuto);
}

}  // namespace
}  // namespace ui
