// The widget tags in the window builder: tab pages picked by "selectedid", child boxes built
// from their own files, and children the tree view refuses.
#include <gtest/gtest.h>

#include <string>

#include "ControlTestSupport.h"
#include "FileBytes.h"
#include "RenderTestSupport.h"
#include "TempFolder.h"
#include "builder/WindowBuilder.h"
#include "widgets/box/ChildBox.h"
#include "widgets/box/TabBox.h"
#include "widgets/list/TreeView.h"

namespace ui {
namespace {

class Counted : public Control {
 public:
  Counted() { ++live; }
  ~Counted() override { --live; }
  static int live;
};
int Counted::live = 0;

Control* MakeCounted(const std::wstring& tag) { return tag == L"Counted" ? new Counted() : nullptr; }

class WidgetTags : public FrameworkStarted {
 protected:
  void SetUp() override {
    FrameworkStarted::SetUp();
    GlobalManager::SetResourcePath(folder_.path());
  }
  void TearDown() override {
    GlobalManager::SetResourcePath(L"");
    FrameworkStarted::TearDown();
  }
  void Write(const wchar_t* name, const std::string& text) {
    WriteBytes(folder_.File(name), text);
  }
  // Builds `xml` into a window (so that boxes initialise); the window owns the tree.
  Box* BuildInWindow(const std::wstring& xml) {
    WindowBuilder builder;
    auto* root = dynamic_cast<Box*>(builder.Create(xml, MakeCounted, &window_));
    if (root) window_.AttachRoot(root);
    return root;
  }

  TempFolder folder_;
  RecordingWindow window_;
};

TEST_F(WidgetTags, TabBoxSelectedIdKeepsThatPageShown) {
  Box* root = BuildInWindow(
      LR"(<Window><TabBox name="tabs" selectedid="2"><Box/><Box/><Box/><Box/></TabBox></Window>)");
  ASSERT_NE(root, nullptr);
  auto* tabs = dynamic_cast<TabBox*>(root);
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->GetCurSel(), 2);
  for (int i = 0; i < tabs->GetCount(); ++i)
    EXPECT_EQ(tabs->GetItemAt(i)->IsVisible(), i == 2) << i;
}

TEST_F(WidgetTags, ChildBoxTakesABoxFromItsFileAndNothingElse) {
  Write(L"page.xml", R"(<Window><VBox name="inner"><Control/></VBox></Window>)");
  Write(L"plain.xml", R"(<Window><Counted/></Window>)");
  Counted::live = 0;
  Box* root = BuildInWindow(LR"(<Window><VBox>
      <ChildBox name="good" xmlfile="page.xml"/>
      <ChildBox name="plain" xmlfile="plain.xml"/>
      <ChildBox name="missing" xmlfile="nowhere.xml"/>
      <ChildBox name="empty"/></VBox></Window>)");
  ASSERT_NE(root, nullptr);
  auto* good = dynamic_cast<ChildBox*>(window_.FindControlByName(L"good"));
  ASSERT_NE(good, nullptr);
  ASSERT_EQ(good->GetCount(), 1);
  EXPECT_EQ(good->GetItemAt(0)->GetName(), L"inner");
  for (const wchar_t* name : {L"plain", L"missing", L"empty"}) {
    auto* box = dynamic_cast<ChildBox*>(window_.FindControlByName(name));
    ASSERT_NE(box, nullptr) << name;
    EXPECT_EQ(box->GetCount(), 0) << name;
  }
  EXPECT_EQ(Counted::live, 0);  // the non-box content was destroyed
}

TEST_F(WidgetTags, TreeViewRefusesChildrenAndTheBuilderDestroysThem) {
  Counted::live = 0;
  Box* root = BuildInWindow(LR"(<Window><TreeView><Counted/><Counted/></TreeView></Window>)");
  ASSERT_NE(dynamic_cast<TreeView*>(root), nullptr);
  EXPECT_EQ(root->GetCount(), 0);
  EXPECT_EQ(Counted::live, 0);
}

}  // namespace
}  // namespace ui
