// The settings window inside the test process: built from the archive's skin, painted, its
// controls filled from the settings.
#include "window/ControlForm.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "FakeWaveIn.h"
#include "SettingsFolderFixture.h"
#include "SkinArchive.h"
#include "image/ImageInfo.h"
#include "render/RenderInterfaces.h"
#include "resources/GlobalManager.h"
#include "widgets/combo/Combo.h"

namespace {

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
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

}  // namespace
