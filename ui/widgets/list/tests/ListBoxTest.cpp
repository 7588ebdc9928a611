// List selection, events, keys, removal and insertion, and the tree view's refusals, on a
// window without a native handle.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "base/StringPrintf.h"
#include "widgets/list/ListBox.h"
#include "widgets/list/ListContainerElement.h"
#include "widgets/list/TreeView.h"

namespace ui {
namespace {

class ListTest : public testing::Test {
 protected:
  // Items: 'e' selectable element, 'd' disabled element, 'h' hidden element, 'c' plain control.
  void Build(const std::string& kinds) {
    list_ = new ListBox();
    for (char kind : kinds) AddItem(kind);
    window_.AttachRoot(list_);
    list_->SetPos(RECT{0, 0, 100, 1000});
    list_->AttachAllEvents([this](EventArgs* args) {
      if (args->pSender == list_)
        log_.push_back(base::StringPrintf(L"list %d %d", args->Type, static_cast<int>(args->wParam)) +
                       base::StringPrintf(L" %d", static_cast<int>(args->lParam)));
      return true;
    });
  }
  Control* AddItem(char kind) {
    Control* item = kind == 'c' ? new Control() : new ListContainerElement();
    item->SetFixedHeight(20);
    if (kind == 'd') item->SetEnabled(false);
    if (kind == 'h') item->SetVisible(false);
    Watch(item);
    list_->Add(item);
    return item;
  }
  void Watch(Control* item) {
    item->AttachAllEvents([this, item](EventArgs* args) {
      if (args->pSender == item && (args->Type == kEventSelect || args->Type == kEventUnSelect))
        log_.push_back(base::StringPrintf(L"item%d %d", list_->GetItemIndex(item), args->Type));
      return true;
    });
  }
  void Key(int type, WPARAM key, WPARAM wparam = 0) {
    EventArgs args;
    args.Type = type;
    args.pSender = list_;
    args.chKey = static_cast<wchar_t>(key);
    args.wParam = wparam;
    list_->HandleMessage(args);
  }
  ListContainerElement* Element(int index) {
    return dynamic_cast<ListContainerElement*>(list_->GetItemAt(index));
  }
  std::vector<int> Indices() {
    std::vector<int> indices;
    for (int i = 0; i < list_->GetCount(); ++i)
      indices.push_back(Element(i) ? Element(i)->GetIndex() : -9);
    return indices;
  }

  RecordingWindow window_;
  ListBox* list_ = nullptr;
  std::vector<std::wstring> log_;
};

TEST_F(ListTest, SelectionEventsInOrder) {
  Build("eee");
  EXPECT_TRUE(list_->SelectItem(2, false, true));
  EXPECT_TRUE(list_->SelectItem(0, false, true));
  EXPECT_FALSE(list_->SelectItem(7, false, true));  // clears the selection
  const std::vector<std::wstring> expected = {
      L"item2 42", L"list 42 2 -1", L"item2 43", L"item0 42", L"list 42 0 2", L"item0 43"};
  EXPECT_EQ(log_, expected);
  EXPECT_EQ(list_->GetCurSel(), -1);
  EXPECT_FALSE(Element(0)->IsSelected());
  log_.clear();
  EXPECT_TRUE(list_->SelectItem(1, false, false));  // no trigger: no "select" at all
  EXPECT_EQ(log_, std::vector<std::wstring>{});
  EXPECT_TRUE(Element(1)->IsSelected());
}

TEST_F(ListTest, KeysMoveOverSelectableItems) {
  struct Case {
    const char* items;
    int start;
    WPARAM key;
    int expected;
  };
  const Case cases[] = {
      {"edehd", 0, VK_DOWN, 2}, {"edehd", 2, VK_DOWN, -1}, {"edehd", 2, VK_UP, 0},
      {"dedeh", 1, VK_UP, 1},   {"edehd", 2, VK_HOME, 0},  {"dehee", 3, VK_HOME, 1},
      // End takes the last item; when it is hidden or disabled the selection is cleared.
      {"eeedh", 0, VK_END, -1}, {"eeed", 1, VK_END, -1},   {"eeee", 0, VK_END, 3},
      {"cc", -1, VK_END, -1},
      {"", -1, VK_DOWN, -1},
  };
  for (const Case& c : cases) {
    Build(c.items);
    if (c.start >= 0) list_->SelectItem(c.start, false, false);
    Key(kEventKeyDown, c.key);
    EXPECT_EQ(list_->GetCurSel(), c.expected) << c.items << " from " << c.start << " key " << c.key;
    window_.AttachRoot(nullptr);
  }
}

TEST_F(ListTest, ScrollSelectWheelMovesTheSelectionNotTheView) {
  Build("eeeee");
  list_->SetAttribute(L"scrollselect", L"true");
  list_->SelectItem(1, false, false);
  Key(kEventMouseScrollWheel, 0, static_cast<WPARAM>(-120));
  EXPECT_EQ(list_->GetCurSel(), 2);
  Key(kEventMouseScrollWheel, 0, 120);
  Key(kEventMouseScrollWheel, 0, 120);
  EXPECT_EQ(list_->GetCurSel(), 0);
  EXPECT_EQ(list_->GetScrollPos().cy, 0);
}

TEST_F(ListTest, RemovingTheSelectedItemSelectsTheNextOneThere) {
  struct Case {
    const char* items;
    int selected;
    int expected;
  };
  // The item now at that position, else the nearest selectable one before it, else the
  // first selectable one from the start.
  const Case cases[] = {{"eee", 1, 1}, {"eed", 1, 0}, {"dee", 1, 1}, {"ede", 2, 0}, {"e", 0, -1}};
  for (const Case& c : cases) {
    Build(c.items);
    list_->SelectItem(c.selected, false, false);
    ASSERT_TRUE(list_->RemoveAt(c.selected));
    EXPECT_EQ(list_->GetCurSel(), c.expected) << c.items << " " << c.selected;
    for (int i = 0; i < list_->GetCount(); ++i) EXPECT_EQ(Element(i)->GetIndex(), i);
    window_.AttachRoot(nullptr);
  }
  Build("eee");
  list_->SelectNextWhenActiveRemoved(false);
  list_->SelectItem(1, false, false);
  list_->RemoveAt(1);
  EXPECT_EQ(list_->GetCurSel(), -1);
  list_->SelectItem(1, false, false);
  list_->RemoveAt(0);  // below the selection
  EXPECT_EQ(list_->GetCurSel(), 0);
}

TEST_F(ListTest, InsertedItemsGetTheOwnerAndLaterOnesAreRenumbered) {
  Build("eee");
  list_->SelectItem(1, false, false);
  auto* inserted = new ListContainerElement();
  Watch(inserted);
  ASSERT_TRUE(list_->AddAt(inserted, 0));
  EXPECT_EQ(inserted->GetOwner(), list_);
  EXPECT_EQ(Indices(), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(list_->GetCurSel(), 2);  // the selection follows its item
  inserted->Activate();                // a click selects it through the list
  EXPECT_EQ(list_->GetCurSel(), 0);
  EXPECT_TRUE(inserted->IsSelected());
  ASSERT_TRUE(list_->SetItemIndex(inserted, 3));
  EXPECT_EQ(Indices(), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(list_->GetCurSel(), 3);
}

TEST_F(ListTest, HidingTheSelectedElementClearsTheSelection) {
  Build("eee");
  list_->SelectItem(2, false, false);
  Element(2)->SetFadeVisible(false);
  EXPECT_EQ(list_->GetCurSel(), -1);
  EXPECT_FALSE(Element(2)->IsSelected());
}

TEST(TreeView, RefusesChildrenAndTogglesOnlyNodes) {
  TreeView tree;
  Control child;
  EXPECT_FALSE(tree.Add(&child));
  EXPECT_FALSE(tree.AddAt(&child, 0));
  EXPECT_EQ(tree.GetCount(), 0);
  tree.SetAttribute(L"indent", L"12");
  EXPECT_EQ(tree.GetIndent(), 12);
  TreeNode* root = tree.GetRootNode();
  EventArgs args;
  args.pSender = &child;  // not a node: nothing happens
  EXPECT_TRUE(root->OnClickItem(&args));
  EXPECT_TRUE(root->IsExpand());
  args.pSender = root;
  EXPECT_TRUE(root->OnClickItem(&args));
  EXPECT_FALSE(root->IsExpand());
  EXPECT_EQ(root->GetTreeView(), &tree);
}

}  // namespace
}  // namespace ui
