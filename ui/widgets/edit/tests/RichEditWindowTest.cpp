// The rich edit in a native window with real input through xdotool: a click focuses it and
// shows the caret, typed keys reach the engine, Return in a single-line edit is announced,
// Tab stays in an edit that wants it;
// its text and prompt are drawn over the skin's background, not over a box of their own.
#include <gtest/gtest.h>

#include <string>
#include <utility>

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
    root_ = new VBox();
    edit_ = new RichEdit();
    edit_->SetFixedHeight(40);
    edit_->SetAttribute(L"multiline", L"false");
    edit_->SetAttribute(L"wantreturnmsg", L"true");
    root_->Add(edit_);
    window_->AttachRoot(root_);
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

  // Pixels of a control in the window's surface: {near black, near white}.
  std::pair<int, int> DarkAndLightPixels(Control* control) {
    IRenderContext* surface = window_->GetRenderContext();
    const RECT rect = control->GetPos();
    int dark = 0;
    int light = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
      for (int x = rect.left; x < rect.right; ++x) {
        const DWORD pixel = Rgb(PixelAt(surface, x, y));
        const int sum = (pixel & 0xFF) + ((pixel >> 8) & 0xFF) + ((pixel >> 16) & 0xFF);
        if (sum < 60) ++dark;
        if (sum > 700) ++light;
      }
    }
    return {dark, light};
  }

  NativeTestWindow* window_ = nullptr;
  VBox* root_ = nullptr;
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

TEST_F(RichEditWindow, TabStaysInAnEditThatWantsIt) {
  for (const bool wants : {true, false}) {
    SCOPED_TRACE(wants);
    edit_->SetText(L"");
    edit_->SetAttribute(L"wanttab", wants ? L"true" : L"false");
    edit_->SetFocus();
    ASSERT_TRUE(edit_->IsFocused());
    SendMessageW(window_->GetHWND(), WM_KEYDOWN, VK_TAB, 0);
    SendMessageW(window_->GetHWND(), WM_CHAR, L'\t', 0);
    EXPECT_EQ(edit_->IsFocused(), wants);
    EXPECT_EQ(edit_->GetText(), wants ? L"\t" : L"");
  }
}

TEST_F(RichEditWindow, WhiteTextAndPromptShowOverADarkBackground) {
  GlobalManager::AddTextColor(L"black", L"#FF000000");
  GlobalManager::AddTextColor(L"white", L"#FFFFFFFF");
  GlobalManager::AddFont(L"large", L"Tahoma", 28, true, false, false, false);
  root_->SetBkColor(L"black");
  // As a skin does: the attributes come before the edit enters the window.
  auto* edit = new RichEdit();
  edit->SetFixedHeight(60);
  for (const auto& [name, value] : {std::pair{L"font", L"large"}, {L"normaltextcolor", L"white"},
                                    {L"promptcolor", L"white"}, {L"text", L"MMMM"}})
    edit->SetAttribute(name, value);
  root_->Add(edit);
  for (const wchar_t* prompt : {L"", L"MMMM"}) {
    SCOPED_TRACE(prompt);
    if (*prompt) edit->SetText(L"");
    edit->SetPromptText(prompt);
    edit->Invalidate();
    PumpFor(300);
    const auto [dark, light] = DarkAndLightPixels(edit);
    const RECT rect = edit->GetPos();
    const int area = (rect.right - rect.left) * (rect.bottom - rect.top);
    EXPECT_GT(dark, area / 2) << "the background shows through";
    EXPECT_GT(light, 100) << "the white strokes are drawn";
  }
}

}  // namespace
}  // namespace ui
