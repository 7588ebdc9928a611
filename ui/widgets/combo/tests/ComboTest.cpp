// The combo box in native windows under Wine: pop-up placement, choosing an item and closing
// when the focus goes elsewhere with real clicks (xdotool), and item ownership.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "WindowTestSupport.h"
#include "widgets/combo/Combo.h"
#include "widgets/list/ListContainerElement.h"

namespace ui {
namespace {

class CountedItem : public ListContainerElement {
 public:
  CountedItem() { ++live; }
  ~CountedItem() override { --live; }
  static int live;
};
int CountedItem::live = 0;

class ComboTest : public FrameworkStarted {
 protected:
  void SetUp() override {
    FrameworkStarted::SetUp();
    window_ = new NativeTestWindow();
    ASSERT_NE(window_->CreateAt(RECT{100, 100, 500, 400}, false), nullptr);
    auto* root = new VBox();
    // A layered pop-up lets clicks through where it paints nothing: the list gets a colour.
    GlobalManager::AddTextColor(L"white", L"#FFFFFFFF");
    combo_ = new Combo();
    combo_->SetAttribute(L"dropbox", L"bkcolor=\"white\"");
    combo_->SetFixedHeight(30);
    combo_->SetFixedWidth(200);
    root->Add(combo_);
    window_->AttachRoot(root);
    combo_->AttachAllEvents([this](EventArgs* args) {
      if (args->pSender == combo_ && (args->Type == kEventSelect || args->Type == kEventClick))
        events_.push_back({args->Type, static_cast<int>(args->wParam), static_cast<int>(args->lParam)});
      return true;
    });
    window_->ShowWindow(true, true);
    PumpFor(200);
  }
  void TearDown() override {
    if (IsWindow(window_->GetHWND())) DestroyWindow(window_->GetHWND());
    PumpFor(50);
    delete window_;
    FrameworkStarted::TearDown();
  }
  void AddItems(int count, int height = 22) {
    for (int i = 0; i < count; ++i) {
      auto* item = new CountedItem();
      item->SetFixedHeight(height);
      item->SetText(L"item " + std::to_wstring(i));
      combo_->Add(item);
    }
  }
  bool Open() {
    const RECT pos = combo_->GetPos();
    EXPECT_TRUE(XClick(window_->GetHWND(), POINT{(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2}));
    const bool opened = PumpUntil([this] { return combo_->GetPopup() != nullptr; });
    PumpFor(200);  // painted
    return opened;
  }
  bool Closed() {
    return PumpUntil([this] { return combo_->GetPopup() == nullptr; });
  }

  struct Event {
    int type;
    int wparam;
    int lparam;
    bool operator==(const Event& other) const {
      return type == other.type && wparam == other.wparam && lparam == other.lparam;
    }
  };
  NativeTestWindow* window_ = nullptr;
  Combo* combo_ = nullptr;
  std::vector<Event> events_;
};

TEST_F(ComboTest, PopupHeightWidthAndSide) {
  struct Case {
    int items;
    const wchar_t* size;
    const wchar_t* top;
    int width;
    int height;
    bool above;
  };
  const Case cases[] = {{3, L"0,150", L"false", 200, 68, false},
                        {20, L"0,150", L"false", 200, 150, false},
                        {3, L"120,40", L"false", 120, 40, false},
                        {3, L"0,150", L"true", 200, 68, true}};
  for (const Case& c : cases) {
    combo_->RemoveAll();
    AddItems(c.items);
    combo_->SetAttribute(L"dropboxsize", c.size);
    combo_->SetAttribute(L"popuptop", c.top);
    RECT combo = combo_->GetPos();
    MapWindowPoints(window_->GetHWND(), HWND_DESKTOP, reinterpret_cast<POINT*>(&combo), 2);
    const RECT popup = combo_->PopupRect();
    EXPECT_EQ(popup.right - popup.left, c.width) << c.items << " " << c.size;
    EXPECT_EQ(popup.bottom - popup.top, c.height) << c.items << " " << c.size;
    EXPECT_EQ(popup.left, combo.left);
    if (c.above)
      EXPECT_EQ(popup.bottom, combo.top);
    else
      EXPECT_EQ(popup.top, combo.bottom + 1);
  }
}

TEST_F(ComboTest, OpensNearTheBottomOfTheWorkAreaUpwards) {
  AddItems(3);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window_->GetHWND(), MONITOR_DEFAULTTONEAREST), &monitor);
  SetWindowPos(window_->GetHWND(), nullptr, 100, monitor.rcWork.bottom - 40, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT combo = combo_->GetPos();
  MapWindowPoints(window_->GetHWND(), HWND_DESKTOP, reinterpret_cast<POINT*>(&combo), 2);
  EXPECT_EQ(combo_->PopupRect().bottom, combo.top);
}

TEST_F(ComboTest, ChoosingAnItemWithRealClicks) {
  AddItems(3);
  ASSERT_TRUE(Open());
  HWND popup = combo_->GetPopup()->GetHWND();
  RECT popup_rect;
  GetWindowRect(popup, &popup_rect);
  EXPECT_EQ(popup_rect.bottom - popup_rect.top, 68);
  EXPECT_EQ(events_, (std::vector<Event>{{kEventClick, 0, 0}}));
  // Second item row: padding 1, rows of 22.
  ASSERT_TRUE(XClick(popup, POINT{50, 1 + 22 + 11}));
  ASSERT_TRUE(Closed());
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(combo_->GetCurSel(), 1);
  EXPECT_EQ(combo_->GetText(), L"item 1");
  ASSERT_EQ(events_.size(), 2u);
  EXPECT_EQ(events_[1], (Event{kEventSelect, 1, -1}));
  EXPECT_EQ(combo_->GetDropDownList()->GetWindow(), nullptr);  // back with the combo
  // Selecting in code sends nothing.
  EXPECT_TRUE(combo_->SelectItem(2));
  EXPECT_FALSE(combo_->SelectItem(2));
  EXPECT_FALSE(combo_->SelectItem(3));
  EXPECT_EQ(events_.size(), 2u);
}

TEST_F(ComboTest, ClickingOutsideClosesAndKeepsTheListSelection) {
  AddItems(3);
  ASSERT_TRUE(Open());
  combo_->GetDropDownList()->SelectItem(2, false, false);
  ASSERT_TRUE(XClick(window_->GetHWND(), POINT{350, 250}));
  ASSERT_TRUE(Closed());
  EXPECT_EQ(combo_->GetCurSel(), 2);
  // The combo opens again afterwards.
  ASSERT_TRUE(Open());
  ASSERT_TRUE(XClick(window_->GetHWND(), POINT{350, 250}));
  ASSERT_TRUE(Closed());
}

TEST_F(ComboTest, DestroyingTheComboClosesItsOpenPopup) {
  AddItems(3);
  ASSERT_TRUE(Open());
  HWND popup = combo_->GetPopup()->GetHWND();
  window_->GetRoot()->Remove(combo_);
  PumpFor(200);  // the delayed clean-up deletes the combo
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(CountedItem::live, 0);
}

TEST_F(ComboTest, AddedItemsReceiveThePointer) {
  auto* item = new CountedItem();
  item->SetAttribute(L"receivepointer", L"false");
  combo_->Add(item);
  EXPECT_TRUE(item->IsReceivePointer());
}

TEST_F(ComboTest, RemovedItemsAreDeleted) {
  CountedItem::live = 0;
  AddItems(4);
  combo_->SelectItem(1);
  EXPECT_TRUE(combo_->RemoveAt(1));
  EXPECT_TRUE(combo_->Remove(combo_->GetDropDownList()->GetItemAt(0)));
  EXPECT_EQ(CountedItem::live, 2);
  EXPECT_EQ(combo_->GetCount(), 2);
  combo_->RemoveAll();
  EXPECT_EQ(CountedItem::live, 0);
  EXPECT_EQ(combo_->GetCurSel(), -1);
  EXPECT_EQ(combo_->GetText(), L"");
}

}  // namespace
}  // namespace ui
