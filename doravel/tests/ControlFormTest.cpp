// The settings window inside the test process: built from the archive's skin, painted, its
// controls filled from the settings.
#include "form/ControlForm.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FakeWaveIn.h"
#include "FileBytes.h"
#include "SettingsFolderFixture.h"
#include "SkinArchive.h"
#include "image/ImageInfo.h"
#include "render/RenderInterfaces.h"
#include "resources/GlobalManager.h"
#include "widgets/combo/Combo.h"
#include "widgets/edit/RichEdit.h"
#include "widgets/list/ListBox.h"

namespace {

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}

template <typename T>
T* Named(ui::Window* window, const wchar_t* name) {
  return dynamic_cast<T*>(window->FindControlByName(name));
}

class SettingsWindow : public CleanSettingsFolder {
 protected:
  void SetUp() override {
    CleanSettingsFolder::SetUp();
    ASSERT_TRUE(OpenSkinArchive());
    ui::GlobalManager::Startup(L"resources\\", ui::CreateControlCallback(), L"themes\\default", L"lang\\zh_CN");
  }
  void TearDown() override {
    ui::GlobalManager::Shutdown();
    CleanSettingsFolder::TearDown();
  }
  FakeWaveIn wave_in_{{}};
};

TEST_F(SettingsWindow, PaintsItsSkinAndFillsItsLists) {
  auto* form = new ControlForm;
  ASSERT_NE(form->Create(nullptr, kSettingsWindowName, 0x96C80000, WS_EX_WINDOWEDGE, true, RECT{}), nullptr);
  form->ShowWindow(true, true);
  Pump(500);
  auto* languages = dynamic_cast<ui::Combo*>(form->FindControlByName(L"ComboInputLanguage"));
  ASSERT_NE(languages, nullptr);
  EXPECT_EQ(languages->GetCount(), 2);
  EXPECT_EQ(languages->GetText(), L"简体中文");
  // The content's background ("darkcolor") in the window's surface, inside the shadow.
  const COLORREF pixel = GetPixel(form->GetRenderContext()->GetDC(), 14 + 5, 14 + 100);
  EXPECT_EQ(pixel, RGB(0x2b, 0x2e, 0x33));
  // The skin's images come from the archive, named from the window's folder.
  EXPECT_EQ(form->GetResourcePath(), L"resources\\themes\\default\\controls\\");
  EXPECT_NE(ui::GlobalManager::GetImage(form->GetResourcePath() + L"../public/button/close_normal.png"), nullptr);
  // The OK button's green.
  const RECT ok = form->FindControlByName(L"BtnOK")->GetPos();
  EXPECT_EQ(GetPixel(form->GetRenderContext()->GetDC(), ok.left + 3, ok.top + 14), RGB(43, 172, 57));
  DestroyWindow(form->GetHWND());
  Pump(100);
}

// The devices are listed while the window is initialised, before it shows: its first frame
// shows the configured device, and its list is full at the first click.
TEST_F(SettingsWindow, ListsTheDevicesAtInitWithTheConfiguredOneSelected) {
  FakeWaveIn wave_in({L"Line In", L"TAVRI 一", L"TAVRI 麦克风"});
  ASSERT_TRUE(CreateFolderPath(GetAppDataFolder()));
  const std::string saved =
      "mic_config {\r\n  mic_mode: MicMode_Gen\r\n  device_descriptor {\r\n    name: \"TAVRI \\302\\363\\277\\313\\267\\347\"\r\n"
      "    path: \"\"\r\n  }\r\n}\r\n";
  WriteBytes(SettingsPath(), saved);
  auto* form = new ControlForm;
  ASSERT_NE(form->Create(nullptr, kSettingsWindowName, 0x96C80000, WS_EX_WINDOWEDGE, true, RECT{}), nullptr);
  auto* mics = Named<ui::Combo>(form, L"ComboMicDev");
  ASSERT_NE(mics, nullptr);
  ASSERT_EQ(mics->GetCount(), 2) << "not listed at init";
  EXPECT_EQ(mics->GetCurSel(), 1);
  EXPECT_EQ(mics->GetText(), L"TAVRI 麦克风");
  EXPECT_TRUE(mics->IsVisible());
  DestroyWindow(form->GetHWND());
  Pump(100);
}

// A settings window that notes its warnings instead of showing them.
class WarningsNoted : public ControlForm {
 public:
  std::vector<std::wstring> warnings;

 protected:
  void ShowWarning(const std::wstring& content) override { warnings.push_back(content); }
};

TEST_F(SettingsWindow, TranslationThatCannotWorkIsWarnedAndUnticked) {
  auto* form = new WarningsNoted;
  ASSERT_NE(form->Create(nullptr, kSettingsWindowName, 0x96C80000, WS_EX_WINDOWEDGE, true, RECT{}), nullptr);
  auto* translate = Named<ui::CheckBox>(form, L"OptTranslate");
  auto* target = Named<ui::Combo>(form, L"ComboTranslateDst");
  ASSERT_NE(translate, nullptr);
  ASSERT_NE(target, nullptr);

  translate->Selected(true, true);  // Chinese to English works
  EXPECT_TRUE(form->warnings.empty());
  EXPECT_TRUE(translate->IsSelected());

  form->ShowWindow(true, true);
  Pump(200);
  target->Activate();  // the user opens the list and picks Chinese: Chinese to Chinese
  Pump(200);
  target->GetDropDownList()->SelectItem(0);
  Pump(200);
  ASSERT_EQ(form->warnings, std::vector<std::wstring>{kTranslationToSameLanguage});
  EXPECT_FALSE(translate->IsSelected());
  EXPECT_EQ(target->GetText(), L"中文");
  DestroyWindow(form->GetHWND());
  Pump(100);
}

// An unreadable settings file: the window shows the defaults and says so once, after its
// first frame. Closing it without saving (Cancel) leaves the folder as it was, and the next
// start tells again.
TEST_F(SettingsWindow, AnUnreadableSettingsFileIsToldAtEveryStartUntilSaved) {
  ASSERT_TRUE(CreateFolderPath(GetAppDataFolder()));
  const std::string unreadable("sr_config {\r\n  b_append_enter: true\r\n\0\0\0", 40);
  WriteBytes(SettingsPath(), unreadable);
  for (int start = 0; start < 2; ++start) {
    SCOPED_TRACE(start);
    auto* form = new WarningsNoted;
    ASSERT_NE(form->Create(nullptr, kSettingsWindowName, 0x96C80000, WS_EX_WINDOWEDGE, true, RECT{}), nullptr);
    EXPECT_TRUE(form->warnings.empty()) << "told before the window showed";
    form->ShowWindow(true, true);
    for (int waited = 0; waited < 3000 && form->warnings.empty(); waited += 20) Pump(20);
    Pump(200);
    EXPECT_EQ(form->warnings, std::vector<std::wstring>{L"原有设置无法读取，现显示默认设置；保存时会先另存原有设置"});
    EXPECT_FALSE(Named<ui::CheckBox>(form, L"OptAppendEnter")->IsSelected()) << "the defaults are shown";
    DestroyWindow(form->GetHWND());
    Pump(100);
    EXPECT_EQ(ReadBytes(SettingsPath()), unreadable);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(GetAppDataFolder()), {}), 1);
  }
}

TEST_F(SettingsWindow, NoiseSpinButtonsCountFromZeroAndNeverBelow) {
  auto* form = new ControlForm;
  ASSERT_NE(form->Create(nullptr, kSettingsWindowName, 0x96C80000, WS_EX_WINDOWEDGE, true, RECT{}), nullptr);
  auto* noise = Named<ui::RichEdit>(form, L"EditEnvNoise");
  auto* up = Named<ui::Button>(form, L"ButtonEnvNoiseUp");
  auto* down = Named<ui::Button>(form, L"ButtonEnvNoiseDown");
  ASSERT_TRUE(noise && up && down);
  EXPECT_EQ(noise->GetText(), L"0");
  EXPECT_FALSE(noise->IsEnabled());
  form->SendNotify(down, ui::kEventClick);
  EXPECT_EQ(noise->GetText(), L"0");
  form->SendNotify(up, ui::kEventClick);
  form->SendNotify(up, ui::kEventClick);
  EXPECT_EQ(noise->GetText(), L"2");
  form->SendNotify(down, ui::kEventClick);
  EXPECT_EQ(noise->GetText(), L"1");
  DestroyWindow(form->GetHWND());
  Pump(100);
}

// The real warning box: the framework's skinned message box, its yes button "确定" from the
// archive's language file.
TEST_F(SettingsWindow, TheWarningIsTheSkinnedMessageBox) {
  auto* form = new ControlForm;
  ASSERT_NE(form->Create(nullptr, kSettingsWindowName, 0x96C80000, WS_EX_WINDOWEDGE, true, RECT{}), nullptr);
  form->ShowWindow(true, true);
  Pump(200);
  Named<ui::CheckBox>(form, L"OptTranslate")->Selected(true, true);
  auto* target = Named<ui::Combo>(form, L"ComboTranslateDst");
  target->Activate();
  Pump(200);
  target->GetDropDownList()->SelectItem(0);
  Pump(300);
  HWND box = FindWindowW(L"MsgBox", nullptr);
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(IsWindowEnabled(form->GetHWND())) << "the box disables its owner";
  DestroyWindow(box);
  DestroyWindow(form->GetHWND());
  Pump(100);
}

}  // namespace
