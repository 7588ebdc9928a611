// Virtual list arithmetic with a fake data provider: 1,000 elements of 30 pixels shown by
// at most 20 item controls.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "ControlTestSupport.h"
#include "RenderTestSupport.h"
#include "WindowTestSupport.h"
#include "resources/GlobalManager.h"
#include "widgets/ScrollBar.h"
#include "widgets/list/ListContainerElement.h"
#include "widgets/list/VirtualListBox.h"

namespace ui {
namespace {

class FakeProvider : public VirtualListDataProvider {
 public:
  explicit FakeProvider(int count) : count(count) {}
  Control* MakeItemControl() override {
    ++made;
    return new ListContainerElement();
  }
  void BindItemControl(Control* control, int index) override {
    bound[control] = index;
    bound_past_count += index >= count;
    if (on_bind) on_bind();
  }
  int GetItemCount() override { return count; }

  int count;
  int made = 0;
  int bound_past_count = 0;  // binds of an element the provider no longer has
  std::map<Control*, int> bound;
  std::function<void()> on_bind;
};

class VirtualListTest : public testing::Test {
 protected:
  void Build(int elements, int height, int controls, RECT rect = RECT{0, 0, 200, 600}) {
    provider_ = std::make_unique<FakeProvider>(elements);
    list_ = new VirtualListBox();
    list_->EnableScrollBar(true, false);
    list_->SetDataProvider(provider_.get());
    list_->SetElementHeight(height);
    window_.AttachRoot(list_);
    list_->InitElement(controls);
    list_->SetPos(rect);
  }
  // Element index -> top of the control bound to it, for the controls the list holds.
  std::map<int, int> Shown() {
    std::map<int, int> shown;
    for (int i = 0; i < list_->GetCount(); ++i) {
      Control* control = list_->GetItemAt(i);
      shown[provider_->bound.at(control)] = control->GetPos().top;
    }
    return shown;
  }

  RecordingWindow window_;
  std::unique_ptr<FakeProvider> provider_;
  VirtualListBox* list_ = nullptr;
};

TEST_F(VirtualListTest, ThousandElementsOverTwentyControls) {
  Build(1000, 30, 20);
  EXPECT_EQ(list_->GetContentHeight(), 30000);
  EXPECT_EQ(list_->GetScrollRange().cy, 30000 - 600);
  EXPECT_EQ(list_->GetCount(), 20);
  std::map<int, int> shown = Shown();
  EXPECT_EQ(shown.begin()->first, 0);
  EXPECT_EQ(shown.rbegin()->first, 19);

  struct Step {
    int scroll;
    int first;
  };
  const Step steps[] = {{3000, 100}, {3015, 100}, {29400, 980}, {2990, 99}, {0, 0}};
  for (const Step& step : steps) {
    list_->SetScrollPosY(step.scroll);
    shown = Shown();
    EXPECT_EQ(shown.count(step.first), 1u) << step.scroll;
    if (shown.count(step.first)) {
      EXPECT_EQ(shown[step.first], step.first * 30) << step.scroll;
    }
    // The controls cover the visible rows without gaps.
    for (int element = step.scroll / 30; element < (step.scroll + 600) / 30 && element < 1000;
         ++element)
      EXPECT_EQ(shown.count(element), 1u) << step.scroll << " element " << element;
  }
  EXPECT_EQ(provider_->made, 20);  // scrolling re-binds, never creates
  EXPECT_EQ(list_->GetCount(), 20);
}

TEST_F(VirtualListTest, KeysScrollAndArrowsDoNothing) {
  Build(1000, 30, 20);
  list_->SelectItem(0, false, false);
  EventArgs args;
  args.Type = kEventKeyDown;
  args.chKey = VK_DOWN;
  list_->HandleMessage(args);
  EXPECT_EQ(list_->GetCurSel(), 0);
  EXPECT_EQ(list_->GetScrollPos().cy, 0);
  args.chKey = VK_END;
  list_->HandleMessage(args);
  EXPECT_EQ(list_->GetScrollPos().cy, 29400);
  EXPECT_EQ(Shown().rbegin()->first, 999);
  args.chKey = VK_HOME;
  list_->HandleMessage(args);
  EXPECT_EQ(list_->GetScrollPos().cy, 0);
}

TEST_F(VirtualListTest, RefreshFollowsTheProvider) {
  Build(1000, 30, 20);
  provider_->count = 5;  // shrank below the control count: controls go from the front
  list_->Refresh();
  EXPECT_EQ(list_->GetCount(), 5);
  std::set<int> bound;
  for (int i = 0; i < 5; ++i) bound.insert(provider_->bound.at(list_->GetItemAt(i)));
  EXPECT_EQ(bound, (std::set<int>{0, 1, 2, 3, 4}));
  provider_->count = 50;
  list_->Refresh();
  EXPECT_EQ(list_->GetCount(), 20);
}

TEST_F(VirtualListTest, BindCallbacksThatRemoveRefreshOrDetach) {
  struct Case {
    const char* name;
    std::function<void(VirtualListBox*, FakeProvider*)> inside_bind;
  };
  const Case cases[] = {
      {"removes a control",
       [](VirtualListBox* list, FakeProvider*) {
         if (list->GetCount() > 10) list->RemoveAt(list->GetCount() - 1);
       }},
      {"shrinks and refreshes",
       [](VirtualListBox* list, FakeProvider* provider) {
         if (provider->count > 100) provider->count -= 100;
         list->Refresh();
       }},
      {"detaches the provider",
       [](VirtualListBox* list, FakeProvider*) { list->SetDataProvider(nullptr); }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    Build(1000, 30, 20);
    provider_->on_bind = [this, &test] { test.inside_bind(list_, provider_.get()); };
    for (int scroll : {3000, 9000, 0, 20000}) list_->SetScrollPosY(scroll);
    list_->Refresh();
    provider_->on_bind = nullptr;
    EXPECT_EQ(provider_->bound_past_count, 0);
    if (!list_->GetDataProvider()) continue;
    EXPECT_GT(list_->GetCount(), 0);
    for (int i = 0; i < list_->GetCount(); ++i)
      EXPECT_EQ(provider_->bound.count(list_->GetItemAt(i)), 1u);
  }
}

TEST_F(VirtualListTest, ZeroElementHeightArrangesNothing) {
  Build(1000, 0, 20);
  list_->SetScrollPosY(300);
  list_->SetPos(RECT{0, 0, 200, 400});
  EXPECT_EQ(list_->GetContentHeight(), 0);
  list_->SetElementHeight(-4);
  list_->Refresh();
  EXPECT_EQ(list_->GetCount(), 20);
}

// 3,000,000,000 pixels: the scroll range is mapped onto the content; the controls stay near
// the view and the last element is reached.
TEST_F(VirtualListTest, HugeContentIsMappedOntoTheScrollRange) {
  Build(100000000, 30, 20);
  EXPECT_EQ(list_->GetContentHeight(), 3000000000LL);
  EXPECT_EQ(list_->GetScrollRange().cy, VirtualListBox::kMaxScrollRange);
  for (int scroll : {0, static_cast<int>(VirtualListBox::kMaxScrollRange / 3),
                     static_cast<int>(list_->GetScrollRange().cy)}) {
    list_->SetScrollPosY(scroll);
    const int64_t offset = list_->GetContentOffset();
    const int first = static_cast<int>(offset / 30);
    const std::map<int, int> shown = Shown();
    ASSERT_EQ(shown.count(first), 1u) << scroll;
    // Element `first` is where the content offset puts it, relative to the view's top.
    EXPECT_EQ(shown.at(first) - scroll, first * 30LL - offset) << scroll;
    EXPECT_LT(shown.rbegin()->second, 1 << 24) << scroll;
  }
  EXPECT_EQ(list_->GetContentOffset(), 3000000000LL - 600);
  EXPECT_EQ(Shown().rbegin()->first, 100000000 - 1);
}

// Small steps near either end of a short and of a mapped list: every control inside the view
// shows the element at its place, and the view's rows all have one.
TEST_F(VirtualListTest, EveryControlInTheViewShowsTheElementAtItsPlace) {
  struct Case {
    int elements;
    std::vector<int> scrolls;  // -1: the End key; -2: one bar step down; -3: one bar step up
  };
  const int mapped = static_cast<int>(VirtualListBox::kMaxScrollRange);
  const Case cases[] = {
      {1000, {29380, -1, 29399, 29000, -2, -2, -2, 0, -2, 15, -3}},
      {10000000, {mapped - 20, -1, mapped - 1, mapped - 200, -2, -2, -2, -2, -2, -2, -2, -2, -2, -2,
                  mapped / 2, -2, -3, 0, -2, 40, -3}},
      {1000000000, {mapped - 20, -1, mapped - 1, -3, mapped / 3, -2, -3}},
  };
  for (const Case& test : cases) {
    Build(test.elements, 30, 40);
    for (int scroll : test.scrolls) {
      EventArgs end;
      end.Type = kEventKeyDown;
      end.chKey = VK_END;
      if (scroll == -1)
        list_->HandleMessage(end);
      else if (scroll == -2)
        list_->LineDown(-1, false);
      else if (scroll == -3)
        list_->LineUp(-1, false);
      else
        list_->SetScrollPosY(scroll);
      const int64_t offset = list_->GetContentOffset();
      const int view_scroll = list_->GetScrollPos().cy;
      SCOPED_TRACE(testing::Message() << test.elements << " elements, scroll " << view_scroll);
      std::set<int> rows;
      for (int i = 0; i < list_->GetCount(); ++i) {
        Control* control = list_->GetItemAt(i);
        const int64_t top = control->GetPos().top - view_scroll;  // from the view's top
        if (top >= 600 || top + 30 <= 0) continue;
        const int element = provider_->bound.at(control);
        EXPECT_EQ(top, element * int64_t{30} - offset) << "element " << element;
        EXPECT_TRUE(rows.insert(element).second) << "element " << element << " twice";
      }
      for (int64_t row = offset / 30; row <= (offset + 599) / 30; ++row)
        EXPECT_EQ(rows.count(static_cast<int>(row)), 1u) << "row " << row;
    }
  }
}

// Rows coloured by their index's parity, for what a real window shows.
class ColouredProvider : public FakeProvider {
 public:
  using FakeProvider::FakeProvider;
  void BindItemControl(Control* control, int index) override {
    FakeProvider::BindItemControl(control, index);
    control->SetBkColor(index % 2 ? L"odd" : L"even");
  }
};

// 10,000,000 rows in a real window under Wine, scrolled far past 2^24 pixels and to the end:
// the rows there are drawn where their offset puts them, the last one at the bottom.
class VirtualListWindow : public FrameworkStarted {};

TEST_F(VirtualListWindow, TenMillionRowsDrawToTheLast) {
  GlobalManager::AddTextColor(L"odd", L"#FFFF0000");
  GlobalManager::AddTextColor(L"even", L"#FF0000FF");
  constexpr int kRows = 10000000;
  for (int height : {24, 300}) {  // 240,000,000 and 3,000,000,000 pixels
    ColouredProvider provider(kRows);
    auto* list = new VirtualListBox();
    list->EnableScrollBar(true, false);
    list->SetDataProvider(&provider);
    list->SetElementHeight(height);
    list->InitElement(40);
    NativeTestWindow window;
    HWND hwnd = window.CreateAt(RECT{0, 0, 200, 600}, false);
    ASSERT_TRUE(hwnd);
    window.AttachRoot(list);
    window.ShowWindow(true, false);
    ASSERT_TRUE(PumpUntil([&] { return !window.IsArrangeNeeded(); })) << height;
    HDC dc = GetDC(hwnd);
    // The colour of the row at `y` in the view, from the list's content offset.
    auto expected = [&](int y) {
      const int64_t row = (list->GetContentOffset() + y) / height;
      return row % 2 ? RGB(255, 0, 0) : RGB(0, 0, 255);
    };
    const int range = static_cast<int>(list->GetScrollRange().cy);
    auto expect_rows = [&](int scroll) {
      for (int y : {5, 300, 595})
        EXPECT_EQ(GetPixel(dc, 50, y), expected(y)) << height << " " << scroll << " " << y;
    };
    for (int scroll : {range / 2, range}) {
      list->SetScrollPosY(scroll);
      PumpFor(400);
      expect_rows(scroll);
    }
    // Ten wheel notches down to the end, from ten bar steps before it.
    list->SetScrollPosY(range - 200);
    PumpFor(200);
    POINT screen = {50, 300};
    ClientToScreen(hwnd, &screen);
    for (int notch = 0; notch < 10; ++notch)
      SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    ASSERT_TRUE(PumpUntil([&] { return list->GetScrollPos().cy == range; })) << height;
    PumpFor(400);
    expect_rows(range);
    EXPECT_EQ(list->GetContentOffset(), static_cast<int64_t>(kRows) * height - 600) << height;
    POINT bottom = {50, 595};
    Control* last = window.FindControl(bottom);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(provider.bound.at(last), kRows - 1) << height;
    ReleaseDC(hwnd, dc);
    DestroyWindow(hwnd);
  }
}

}  // namespace
}  // namespace ui
