// Check boxes and options: toggling, the group rule, group changes, selected painting.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "RecordingContext.h"
#include "builder/WindowBuilder.h"
#include "layout/Box.h"
#include "widgets/Option.h"

namespace ui {
namespace {

class Options : public testing::Test {
 protected:
  void SetUp() override {
    root = new VBox();
    window.AttachRoot(root);
    root->AttachBubbledEvent(kEventAll, [this](EventArgs* args) {
      const int type = args->Type;
      if (type == kEventClick || type == kEventSelect || type == kEventUnSelect)
        log.push_back(args->pSender->GetName() + L":" + std::to_wstring(type));
      return true;
    });
  }
  template <typename T>
  T* Add(T* control, const wchar_t* name) {
    control->SetName(name);
    control->SetPos(RECT{0, 0, 10, 10});
    root->Add(control);
    return control;
  }
  void Click(Control* control) {
    control->SendEvent(kEventMouseButtonDown, 0, 0, 0, POINT{5, 5});
    control->SendEvent(kEventMouseButtonUp, 0, 0, 0, POINT{5, 5});
  }
  RecordingWindow window;
  VBox* root = nullptr;
  std::vector<std::wstring> log;
};

TEST_F(Options, CheckBoxTogglesWithoutClick) {
  auto* box = Add(new CheckBox(), L"c");
  Click(box);
  Click(box);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"c:42", L"c:43"}));
}

TEST_F(Options, ClickingTheSelectedOptionOfAGroup) {
  std::vector<Option*> options;
  for (const wchar_t* name : {L"a", L"b", L"c"}) {
    auto* option = Add(new Option(), name);
    option->SetAttribute(L"group", L"g");
    options.push_back(option);
  }
  ASSERT_EQ(window.GetOptionGroup(L"g")->size(), 3u);
  options[0]->Selected(true, false);
  log.clear();
  Click(options[0]);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"a:41", L"b:43", L"c:43", L"a:42"}));
  EXPECT_TRUE(options[0]->IsSelected());
  log.clear();
  Click(options[1]);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"b:41", L"a:43", L"c:43", L"b:42"}));
  EXPECT_FALSE(options[0]->IsSelected());

  log.clear();
  options[1]->Selected(false, false);  // unselect is always sent
  EXPECT_EQ(log, std::vector<std::wstring>{L"b:43"});

  // Moving to another group re-sends the state; the old group no longer pulls it.
  log.clear();
  options[2]->SetAttribute(L"group", L"h");
  EXPECT_EQ(log, std::vector<std::wstring>{L"c:43"});
  options[2]->Selected(true, true);
  Click(options[1]);
  EXPECT_TRUE(options[2]->IsSelected());
  options[1]->SetAttribute(L"group", L"");
  EXPECT_EQ(window.GetOptionGroup(L"g")->size(), 1u);
}

// Options and option boxes selected in code before they join: the group never holds two.
TEST_F(Options, MembersSelectedBeforeJoiningLeaveOneSelected) {
  auto join = [this](auto* member, const wchar_t* name) {
    member->SetGroup(L"g");
    member->Selected(true, true);  // no window yet
    Add(member, name);
  };
  join(new OptionBox(), L"a");
  join(new Option(), L"b");
  join(new OptionBox(), L"c");
  auto selected = [this] {
    std::wstring names;
    for (const wchar_t* name : {L"a", L"b", L"c"}) {
      Control* member = window.FindControlByName(name);
      auto* option = dynamic_cast<Option*>(member);
      auto* box = dynamic_cast<OptionBox*>(member);
      if ((option && option->IsSelected()) || (box && box->IsSelected())) names += name;
    }
    return names;
  };
  EXPECT_EQ(selected(), L"c");  // the last to join
  Click(window.FindControlByName(L"a"));
  EXPECT_EQ(selected(), L"a");
  Click(window.FindControlByName(L"b"));
  EXPECT_EQ(selected(), L"b");
}

// 2,000 options written selected="true", built in the window or built apart and then added:
// the build, or the tree joining the window, settles the group once when it ends.
TEST_F(Options, ABatchSettlesEachGroupOnce) {
  std::wstring skin = L"<Window><VBox>";
  for (int i = 0; i < 2000; ++i) skin += L"<Option name=\"o\" group=\"g\" selected=\"true\"/>";
  skin += L"<Option name=\"h\" group=\"h\" selected=\"true\"/></VBox></Window>";
  root->SetDelayedDestroy(false);
  for (bool in_window : {true, false}) {
    SCOPED_TRACE(in_window ? "built in the window" : "built apart");
    log.clear();
    WindowBuilder builder;
    auto* box = dynamic_cast<Box*>(
        builder.Create(skin, CreateControlCallback(), in_window ? &window : nullptr, root));
    ASSERT_NE(box, nullptr);
    int selected = 0;
    for (Control* member : *window.GetOptionGroup(L"g"))
      selected += static_cast<Option*>(member)->IsSelected();
    EXPECT_EQ(selected, 1);
    EXPECT_TRUE(static_cast<Option*>(box->GetItemAt(1999))->IsSelected());
    EXPECT_EQ(std::count(log.begin(), log.end(), L"o:43"), 1999);
    EXPECT_TRUE(static_cast<Option*>(window.FindControlByName(L"h"))->IsSelected());
    root->Remove(box);
  }
}

// The last member selected in a build leaves the group (its class moves it) before the build
// ends: as without a build, the members it unselected stay unselected.
TEST_F(Options, AMemberLeavingDuringABuildLeavesNoOtherSelected) {
  WindowBuilder builder;
  ASSERT_NE(builder.Create(LR"(<Window><Class name="x" value="group=&quot;h&quot;"/><VBox>)"
                           LR"(<Option name="b" group="g" selected="true"/>)"
                           LR"(<Option name="c" group="g" selected="true"/>)"
                           LR"(<Option name="a" group="g" selected="true" class="x"/>)"
                           LR"(</VBox></Window>)",
                           CreateControlCallback(), &window, root),
            nullptr);
  ASSERT_EQ(window.GetOptionGroup(L"g")->size(), 2u);
  for (Control* member : *window.GetOptionGroup(L"g"))
    EXPECT_FALSE(static_cast<Option*>(member)->IsSelected()) << member->GetName();
  EXPECT_TRUE(static_cast<Option*>(window.FindControlByName(L"a"))->IsSelected());
}

TEST_F(Options, SelectedBoxWithoutSelectedImagesPaintsNoStateImage) {
  auto* box = Add(new CheckBox(), L"c");
  box->SetAttribute(L"normalimage", L"missing.png");
  box->Selected(true);
  RecordingContext context;
  box->Paint(&context, RECT{0, 0, 10, 10});
  EXPECT_TRUE(context.Only(L"Image").empty());
}

}  // namespace
}  // namespace ui
