// Tab box pages without native windows: which page is shown, which are set aside, and how the
// selection follows its page through inserts, removals and switches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widgets/box/TabBox.h"

namespace ui {
namespace {

// Shown pages as a string: 'S' shown (visible, mouse on, alpha 255), 'f' set aside with fade
// switching (visible, mouse off, alpha 0), 'h' set aside and hidden, '?' anything else.
std::string Pages(TabBox& tabs) {
  std::string out;
  for (int i = 0; i < tabs.GetCount(); ++i) {
    Control* page = tabs.GetItemAt(i);
    const bool mouse = page->IsMouseEnabled();
    const int alpha = page->GetAlpha();
    if (page->IsVisible() && mouse && alpha == 255) out += 'S';
    else if (page->IsVisible() && !mouse && alpha == 0) out += 'f';
    else if (!page->IsVisible() && !mouse && alpha == 0) out += 'h';
    else out += '?';
  }
  return out;
}

void AddPages(TabBox& tabs, int count) {
  for (int i = 0; i < count; ++i) ASSERT_TRUE(tabs.Add(new Box()));
}

TEST(TabBox, SelectedIdBeforePagesKeepsThatPage) {
  TabBox tabs;
  tabs.SetAttribute(L"selectedid", L"2");
  AddPages(tabs, 5);
  EXPECT_EQ(tabs.GetCurSel(), 2);
  EXPECT_EQ(Pages(tabs), "hhShh");
}

TEST(TabBox, FirstVisiblePageBecomesTheSelection) {
  TabBox tabs;
  Control* hidden = new Control();
  hidden->SetVisible(false);
  tabs.Add(hidden);
  AddPages(tabs, 2);
  EXPECT_EQ(tabs.GetCurSel(), 1);
  EXPECT_EQ(Pages(tabs), "hSh");
}

TEST(TabBox, FadeSwitchKeepsSetAsidePagesVisibleAtAlphaZero) {
  TabBox tabs;
  tabs.SetAttribute(L"fadeswitch", L"true");
  AddPages(tabs, 3);
  EXPECT_EQ(Pages(tabs), "Sff");
  EXPECT_FALSE(static_cast<Box*>(tabs.GetItemAt(1))->IsMouseChildEnabled());
}

TEST(TabBox, InsertedPagesAreSetAsideAndTheSelectionFollowsItsPage) {
  struct Case {
    int insert_at;
    int selection;
    const char* pages;
  };
  const Case cases[] = {{0, 2, "hhSh"}, {1, 2, "hhSh"}, {2, 1, "hShh"}, {3, 1, "hShh"}};
  for (const Case& c : cases) {
    TabBox tabs;
    tabs.SetAttribute(L"selectedid", L"1");
    AddPages(tabs, 3);
    Control* selected = tabs.GetItemAt(1);
    ASSERT_TRUE(tabs.AddAt(new Box(), c.insert_at));
    EXPECT_EQ(tabs.GetCurSel(), c.selection) << c.insert_at;
    EXPECT_EQ(tabs.GetItemAt(tabs.GetCurSel()), selected) << c.insert_at;
    EXPECT_EQ(Pages(tabs), c.pages) << c.insert_at;
  }
}

TEST(TabBox, RemovingPages) {
  TabBox tabs;
  tabs.SetAttribute(L"selectedid", L"2");
  AddPages(tabs, 4);
  ASSERT_TRUE(tabs.RemoveAt(0));  // below the selection
  EXPECT_EQ(tabs.GetCurSel(), 1);
  ASSERT_TRUE(tabs.RemoveAt(1));  // the selected page: page 0 comes forward
  EXPECT_EQ(tabs.GetCurSel(), 0);
  EXPECT_EQ(Pages(tabs), "Sh");
  EXPECT_FALSE(tabs.Remove(nullptr));
  EXPECT_FALSE(tabs.RemoveAt(5));
  ASSERT_TRUE(tabs.RemoveAt(1));
  ASSERT_TRUE(tabs.RemoveAt(0));
  EXPECT_EQ(tabs.GetCurSel(), -1);
  AddPages(tabs, 2);
  tabs.RemoveAll();
  EXPECT_EQ(tabs.GetCurSel(), -1);
}

TEST(TabBox, SelectItemSwitchesPages) {
  TabBox tabs;
  AddPages(tabs, 3);
  EXPECT_TRUE(tabs.SelectItem(2));
  EXPECT_EQ(tabs.GetCurSel(), 2);
  EXPECT_EQ(Pages(tabs), "hhS");
  EXPECT_FALSE(tabs.SelectItem(3));
  EXPECT_EQ(tabs.GetCurSel(), 2);
  tabs.SetAttribute(L"selectedid", L"1");  // with pages present the attribute switches too
  EXPECT_EQ(Pages(tabs), "hSh");
}

}  // namespace
}  // namespace ui
