// Boxes and scrollable boxes without native windows: child lists, hit tests, scroll ranges,
// wheel, line and page steps, hold-end and the visibility pass of the first paint.
#include <gtest/gtest.h>

#include <vector>

#include "ControlTestSupport.h"
#include "RecordingContext.h"
#include "WindowTestSupport.h"
#include "layout/ScrollableBox.h"
#include "widgets/ScrollBar.h"

namespace ui {
namespace {

// A child that records what its box does to it.
class Probe : public Control {
 public:
  explicit Probe(int height = 20) { SetFixedHeight(height, false); }
  ~Probe() override {
    if (died) *died = true;
  }
  void GifPlay() override { ++gif_plays; }
  bool* died = nullptr;
  int gif_plays = 0;
};

TEST(Box, ChildListOperations) {
  VBox box;
  box.SetDelayedDestroy(false);
  Probe outsider;
  EXPECT_FALSE(box.Remove(&outsider));
  Probe refused;
  EXPECT_FALSE(box.AddAt(&refused, 1));  // index above the count
  auto* first = new Probe();
  EXPECT_TRUE(box.AddAt(first, 0));
  auto* last = new Probe();
  EXPECT_TRUE(box.AddAt(last, box.GetCount()));  // exactly the count appends
  EXPECT_EQ(box.GetItemAt(1), last);
  EXPECT_EQ(first->GetParent(), &box);

  bool died = false;
  first->died = &died;
  EXPECT_TRUE(box.Remove(first));
  EXPECT_TRUE(died);

  // Without auto-destroy a removed child lives on without its parent link.
  box.SetAutoDestroy(false);
  EXPECT_TRUE(box.Remove(last));
  EXPECT_EQ(last->GetParent(), nullptr);
  delete last;
}

TEST(Box, RemovedChildIsNoLongerListedWhenItDies) {
  VBox box;
  box.SetDelayedDestroy(false);
  struct Checker : Control {
    Box* box;
    bool* listed;
    Checker(Box* b, bool* l) : box(b), listed(l) {}
    ~Checker() override { *listed = box->GetItemIndex(this) >= 0; }
  };
  bool listed = true;
  auto* child = new Checker(&box, &listed);
  box.Add(child);
  box.Remove(child);
  EXPECT_FALSE(listed);
}

TEST(Box, MouseChildOffHitTestsTheBoxItself) {
  VBox box;
  auto* child = new Control();
  box.Add(child);
  box.SetPos(RECT{0, 0, 50, 50});
  POINT point = {10, 10};
  auto self = [](Control* control, void*) { return control; };
  EXPECT_EQ(box.FindControl(self, &point, kFindHitTest | kFindTopFirst), child);
  box.SetAttribute(L"mousechild", L"false");
  EXPECT_EQ(box.FindControl(self, &point, kFindHitTest | kFindTopFirst), &box);
}

// Opens the parts of the scroll arithmetic the tests drive directly.
class TestScrollBox : public ScrollableBox {
 public:
  TestScrollBox() : ScrollableBox(new VLayout()) {}
  using ScrollableBox::ProcessVScrollBar;
  bool& InProcess() { return in_process_; }
};

class Scrolling : public testing::Test {
 protected:
  void SetUp() override {
    root = new TestScrollBox();
    root->SetAttribute(L"vscrollbar", L"true");
    for (int i = 0; i < 3; ++i) {
      auto* child = new Probe(100);
      root->Add(child);
      children.push_back(child);
    }
    window.AttachRoot(root);
    root->SetPos(RECT{0, 0, 50, 100});
  }
  RecordingWindow window;
  TestScrollBox* root = nullptr;
  std::vector<Probe*> children;
};

TEST_F(Scrolling, RangeFollowsTheContentAndFittingContentScrollsNothing) {
  EXPECT_EQ(root->GetScrollRange().cy, 200);
  EXPECT_EQ(root->GetScrollPos().cy, 0);
  root->SetScrollPos(SIZE{0, 500});
  EXPECT_EQ(root->GetScrollPos().cy, 200);

  // Re-laid out while a bar appears, content that fits gives range 0, not its overflow.
  root->SetScrollPos(SIZE{0, 0});
  root->InProcess() = true;
  root->ProcessVScrollBar(RECT{0, 0, 50, 100}, 60);
  root->InProcess() = false;
  EXPECT_EQ(root->GetVerticalScrollBar()->GetScrollRange(), 0);
  EXPECT_EQ(root->GetScrollPos().cy, 0);

  root->SetPos(RECT{0, 0, 50, 400});  // everything fits
  EXPECT_EQ(root->GetScrollRange().cy, 0);
  EXPECT_EQ(root->GetScrollPos().cy, 0);
  EXPECT_FALSE(root->GetVerticalScrollBar()->IsVisible());
}

TEST_F(Scrolling, LinePageWheelAndTheChangeEvent) {
  int changes = 0;
  root->AttachEvent(kEventScrollChange, [&](EventArgs*) { ++changes; return true; });
  root->LineDown(-1, false);
  EXPECT_EQ(root->GetScrollPos().cy, 30);
  root->SetVerScrollUnit(0);
  root->LineDown(-1, false);
  EXPECT_EQ(root->GetScrollPos().cy, 50);
  root->PageDown();
  EXPECT_EQ(root->GetScrollPos().cy, 150);
  root->PageUp();
  EXPECT_EQ(root->GetScrollPos().cy, 50);
  root->HomeUp();
  EXPECT_EQ(changes, 5);
  root->SetScrollPos(SIZE{0, -10});  // already at 0: no event
  EXPECT_EQ(changes, 5);

  root->SetVerScrollUnit(30);
  root->SendEvent(kEventMouseScrollWheel, static_cast<WPARAM>(-120));
  EXPECT_TRUE(PumpUntil([&] { return root->GetScrollPos().cy == 30; }));
  root->SendEvent(kEventMouseScrollWheel, 120);
  EXPECT_TRUE(PumpUntil([&] { return root->GetScrollPos().cy == 0; }));
  root->SendEvent(kEventKeyDown, VK_END, 0, VK_END);
  EXPECT_EQ(root->GetScrollPos().cy, 200);
}

TEST_F(Scrolling, HoldEndKeepsTheEndWhenContentGrows) {
  root->SetHoldEnd(true);
  root->EndDown(false, false);
  EXPECT_EQ(root->GetScrollPos().cy, 200);
  root->Add(new Probe(100));
  root->SetPos(RECT{0, 0, 50, 101});
  EXPECT_EQ(root->GetScrollRange().cy, 299);
  EXPECT_EQ(root->GetScrollPos().cy, 299);
}

TEST_F(Scrolling, HitTestsAndPaintingFollowTheScrollPosition) {
  root->SetScrollPos(SIZE{0, 150});
  POINT point = {10, 10};  // content y 160: the second child
  auto self = [](Control* control, void*) { return control; };
  EXPECT_EQ(root->FindControl(self, &point, kFindHitTest | kFindTopFirst), children[1]);
}

TEST(ScrollableBoxPaint, EachBoxRunsItsOwnFirstVisibilityPass) {
  RecordingContext context;
  for (int i = 0; i < 2; ++i) {
    ScrollableBox box(new VLayout());
    auto* child = new Probe(10);
    box.Add(child);
    box.SetPos(RECT{0, 0, 50, 50});
    box.PaintChild(&context, RECT{0, 0, 50, 50});
    EXPECT_EQ(child->gif_plays, 1) << "box " << i;
    box.PaintChild(&context, RECT{0, 0, 50, 50});
    EXPECT_EQ(child->gif_plays, 1);
  }
}

}  // namespace
}  // namespace ui
