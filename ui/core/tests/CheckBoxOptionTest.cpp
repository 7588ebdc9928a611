// Check boxes and options: toggling, the group rule, group changes, selected painting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "RecordingContext.h"
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
  EXPECT_EQ(log, (std::vector<std::wstring>{L"a:41", L"a:42"}));
  EXPECT_TRUE(options[0]->IsSelected());
  log.clear();
  Click(options[1]);  // only the member selected before is unselected
  EXPECT_EQ(log, (std::vector<std::wstring>{L"b:41", L"a:43", L"b:42"}));
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

TEST_F(Options, EachSelectionInALargeGroupUnselectsOneMember) {
  constexpr int kMembers = 2000;
  std::vector<Option*> options;
  for (int i = 0; i < kMembers; ++i) {
    options.push_back(Add(new Option(), L"o"));
    options.back()->SetAttribute(L"group", L"g");
  }
  log.clear();
  for (Option* option : options) option->SetAttribute(L"selected", L"true");
  int selects = 0;
  int unselects = 0;
  for (const std::wstring& entry : log) {
    selects += entry == L"o:42";
    unselects += entry == L"o:43";
  }
  EXPECT_EQ(selects, kMembers);
  EXPECT_EQ(unselects, kMembers - 1);
  EXPECT_TRUE(options.back()->IsSelected());
  EXPECT_FALSE(options[kMembers - 2]->IsSelected());
  // The member that leaves the group is no longer the one to unselect.
  root->Remove(options.back());
  log.clear();
  options[0]->Selected(true, true);
  EXPECT_EQ(log, std::vector<std::wstring>{L"o:42"});
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
