// The rich edit in a native window with real input through xdotool: a click focuses it and
// shows the caret, typed keys reach the engine, Return in a single-line edit is announced.
#include <gtest/gtest.h>

#include <string>

#include "RenderTestSupport.h"
#include "WindowTestSupport.h"
#include "widgets/edit/RichEdit.h"

namespace ui {
namespace {

bool XKeys(const std::string& arguments) {
  const std::string command = "start /unix /usr/bin/xdotool " + arguments;
  return _wsystem(std::wstring(command.begin(), command.end()).c_str()) == 0;
}

class RichEditWindow : public FrameworkStarted {
 protected:
  void SetUp() override {
    FrameworkStarted::SetUp();
    window_ = new NativeTestWindow();
    ASSERT_NE(window_->CreateAt(RECT{100, 100, 400, 300}, false, WS_POPUP), nullptr);
    auto* root = new VBox();
    edit_ = new RichEdit();
    edit_->SetFixedHeight(40);
    edit_->SetAttribute(L"multiline", L"false");
    edit_->SetAttribute(L"wantreturnmsg", L"true");
    root->Add(edit_);
    window_->AttachRoot(root);
    edit_->AttachEvent(kEventReturn, [this](EventArgs*) {
      ++returns_;
      return true;
    });
    window_->ShowWindow(true, true);
    PumpFor(300);
  }
  void TearDown() override {
    if (IsWindow(window_->GetHWND())) DestroyWindow(window_->GetHWND());
    PumpFor(50);
    delete window_;
    FrameworkStarted::TearDown();
  }

  NativeTestWindow* window_ = nullptr;
  RichEdit* edit_ = nullptr;
  int returns_ = 0;
};

TEST_F(RichEditWindow, ClickTypeAndReturn) {
  ASSERT_TRUE(XClick(window_->GetHWND(), POINT{100, 20}));
  ASSERT_TRUE(PumpUntil([this] { return edit_->IsFocused(); }));
  EXPECT_TRUE(edit_->IsCaretVisible());
  ASSERT_TRUE(XKeys("type --delay 30 ab12"));
  EXPECT_TRUE(PumpUntil([this] { return edit_->GetText() == L"ab12"; }, 5000)) << edit_->GetText();
  ASSERT_TRUE(XKeys("key Return"));
  EXPECT_TRUE(PumpUntil([this] { return returns_ == 1; }, 3000));
  EXPECT_EQ(edit_->GetText(), L"ab12");
}

}  // namespace
}  // namespace ui
