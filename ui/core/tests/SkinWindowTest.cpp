// Skinned windows under Wine: built from skin XML with includes, classes, fonts, colours and
// events; auto size with the shadow, caption buttons, hit-testing (a rich edit in the caption
// takes the click), and a skin that fails.
#include <gtest/gtest.h>

#include <filesystem>

#include "FileBytes.h"
#include "RenderTestSupport.h"
#include "TempFolder.h"
#include "WindowTestSupport.h"
#include "resources/FontInfo.h"
#include "widgets/Button.h"
#include "window/WindowImplBase.h"

namespace ui {
namespace {

class SkinWindow : public WindowImplBase {
 public:
  SkinWindow(std::wstring file, bool* deleted) : file_(std::move(file)), deleted_(deleted) {}
  ~SkinWindow() override { *deleted_ = true; }
  std::wstring GetWindowClassName() const override { return L"OrvaneSkinTestWindow"; }
  std::wstring GetSkinFolder() const override { return folder; }
  std::wstring GetSkinFile() const override { return file_; }
  void ReportSkinFailure(const std::wstring& path) override { failed_skin = path; }
  static std::wstring folder;
  static std::wstring failed_skin;

 private:
  std::wstring file_;
  bool* deleted_;
};
std::wstring SkinWindow::folder;
std::wstring SkinWindow::failed_skin;

class Skins : public FrameworkStarted {
 protected:
  void SetUp() override {
    FrameworkStarted::SetUp();
    SkinWindow::folder = skin.path() + L"\\";
    GlobalManager::SetResourcePath(SkinWindow::folder);
    Write(L"global.xml", R"(<Global>
        <Font id="title" name="Arial" size="16" bold="true"/>
        <TextColor name="ink" value="#FF112233"/>
        <Class name="capbtn" width="20" height="20" normaltextcolor="ink"/>
      </Global>)");
    GlobalManager::LoadGlobalResource();
    Write(L"buttons.xml", R"(<Window><HBox height="auto">
        <Button name="minbtn" class="capbtn"/><Button name="maxbtn" class="capbtn"/>
        <Button name="restorebtn" class="capbtn" visible="false"/>
        <Button name="closebtn" class="capbtn"/></HBox></Window>)");
    Write(L"main.xml", R"(<Window caption="0,0,0,30" sizebox="4,4,4,4" shadowattached="true">
        <Class name="line" height="30"/>
        <VBox width="auto" height="auto" bkcolor="ink">
          <Label name="title" text="Title" font="title" class="line" width="200"/>
          <Include source="buttons.xml"/>
          <Control name="filler" class="line" width="200"/>
          <BubbledEvent type="mousemove" receiver="title" applyattribute="text=&quot;moved&quot;"/>
        </VBox></Window>)");
  }
  void Write(const wchar_t* name, const std::string& text) { WriteBytes(skin.path() + L"\\" + name, text); }
  TempFolder skin;
};

TEST_F(Skins, BuiltFromXmlSizedWithTheShadowAndClosedByItsButton) {
  bool deleted = false;
  auto* window = new SkinWindow(L"main.xml", &deleted);
  HWND hwnd = window->Create(nullptr, L"skin", WS_POPUP, 0, true, RECT{10, 10, 20, 20});
  ASSERT_NE(hwnd, nullptr);
  window->ShowWindow(true, true);
  EXPECT_NE(GlobalManager::GetFont(L"title"), nullptr);
  auto* title = dynamic_cast<Label*>(window->FindControlByName(L"title"));
  ASSERT_NE(title, nullptr);
  RECT rect;
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.right - rect.left, 200 + 28);  // content plus the shadow on both sides
  EXPECT_EQ(rect.bottom - rect.top, 30 + 20 + 30 + 28);
  ASSERT_TRUE(PumpUntil([&] { return !window->IsArrangeNeeded(); }));

  // Hit tests: shadow margin, sizing band, caption over a label, over a button.
  auto hit = [&](int x, int y) {
    POINT point = {x, y};
    ClientToScreen(hwnd, &point);
    return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
  };
  EXPECT_EQ(hit(5, 50), HTCLIENT);
  EXPECT_EQ(hit(15, 50), HTLEFT);
  EXPECT_EQ(hit(5, 15), HTTOP);  // left margin at the height of the top band
  EXPECT_EQ(hit(100, 30), HTCAPTION);
  EXPECT_EQ(hit(100, 60), HTCLIENT);
  EXPECT_EQ(hit(30, 50), HTCLIENT);  // over "minbtn"

  // The skin's bubbled event: a mouse move over the filler changes the title.
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 80));
  EXPECT_EQ(title->GetText(), L"moved");

  // Maximise and restore swap the buttons.
  Control* max_button = window->FindControlByName(L"maxbtn");
  Control* restore_button = window->FindControlByName(L"restorebtn");
  window->SendNotify(max_button, kEventClick);
  EXPECT_TRUE(PumpUntil([&] { return !max_button->IsVisible() && restore_button->IsVisible(); }));
  EXPECT_TRUE(IsZoomed(hwnd));
  EXPECT_EQ(window->GetShadow().GetPadding().left, 0);  // maximised: no shadow
  window->SendNotify(restore_button, kEventClick);
  EXPECT_TRUE(PumpUntil([&] { return max_button->IsVisible(); }));
  EXPECT_EQ(window->GetShadow().GetPadding().left, 14);

  // A real click on the close button ends the window after its fade.
  Control* close_button = window->FindControlByName(L"closebtn");
  const RECT pos = close_button->GetPos(true);
  SetForegroundWindow(hwnd);
  PumpFor(100);
  if (!XClick(hwnd, POINT{(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2}))
    window->SendNotify(close_button, kEventClick);
  EXPECT_TRUE(PumpUntil([&] { return deleted; }, 5000));
}

TEST_F(Skins, ARichEditInTheCaptionTakesTheClick) {
  Write(L"edit.xml", R"(<Window caption="0,0,0,40">
      <HBox width="200" height="60"><RichEdit name="edit" width="100"/><Control/></HBox></Window>)");
  bool deleted = false;
  auto* window = new SkinWindow(L"edit.xml", &deleted);
  HWND hwnd = window->Create(nullptr, L"skin", WS_POPUP, 0, true, RECT{10, 10, 210, 70});
  ASSERT_NE(hwnd, nullptr);
  window->ShowWindow(true, true);
  ASSERT_TRUE(PumpUntil([&] { return !window->IsArrangeNeeded(); }));
  auto hit = [&](int x, int y) {
    POINT point = {x, y};
    ClientToScreen(hwnd, &point);
    return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
  };
  EXPECT_EQ(hit(50, 20), HTCLIENT);  // over the edit
  EXPECT_EQ(hit(150, 20), HTCAPTION);
  DestroyWindow(hwnd);
  EXPECT_TRUE(PumpUntil([&] { return deleted; }));
}

TEST_F(Skins, ASkinThatFailsEndsCleanly) {
  Write(L"broken.xml", "<Window");
  for (const wchar_t* file : {L"broken.xml", L"missing.xml"}) {
    bool deleted = false;
    SkinWindow::failed_skin.clear();
    auto* window = new SkinWindow(file, &deleted);
    // The window object is gone when Create returns: only the result may be used.
    EXPECT_EQ(window->Create(nullptr, L"skin", WS_POPUP, 0, true, RECT{0, 0, 50, 50}), nullptr);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(SkinWindow::failed_skin, SkinWindow::folder + file);
  }
}

}  // namespace
}  // namespace ui
