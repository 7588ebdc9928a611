#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "skivra/SkinImage.h"
#include "skivra/SkinMenu.h"
#include "skivra/Skivra.h"

namespace {

TEST(SkinMessageBox, HookGetsTheFormattedTextInsteadOfABox) {
  std::vector<std::wstring> shown;
  SetSkinMessageBoxHook([&](const std::wstring& text) { shown.push_back(text); });
  EXPECT_EQ(SkinMessageBox(L"无法访问应用目录：%s", L"C:\\某处"), IDOK);
  EXPECT_EQ(SkinMessageBox(L"%d%%", 50), IDOK);
  SetSkinMessageBoxHook(nullptr);
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"无法访问应用目录：C:\\某处", L"50%"}));
}

TEST(SkinMessageBox, OverlongTextIsCutNotOverrun) {
  std::wstring seen;
  SetSkinMessageBoxHook([&](const std::wstring& text) { seen = text; });
  const std::wstring longText(5000, L'字');
  SkinMessageBox(L"%s", longText.c_str());
  SetSkinMessageBoxHook(nullptr);
  EXPECT_EQ(seen, std::wstring(1023, L'字'));
}

TEST(SkinImage, MissingResourceLoadsNothing) {
  ASSERT_TRUE(InitSkivra());
  CSkinImage image;
  EXPECT_FALSE(image.Load(GetModuleHandleW(nullptr), L"no_such_image"));
  EXPECT_FALSE(image.IsLoaded());
  EXPECT_EQ(image.Width(), 0);
}

// A window on this thread that records the commands it receives.
struct CommandSink : CWnd {
  CommandSink() {
    SubclassWindow(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   nullptr, nullptr));
  }
  ~CommandSink() override { DestroyWindow(); }
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    commands.push_back(LOWORD(wParam));
    return TRUE;
  }
  std::vector<UINT> commands;
};

TEST(SkinMenu, SubmenusChecksAndTheTrackedCommand) {
  CommandSink sink;
  CSkinMenu sub;
  ASSERT_TRUE(sub.CreateMenu());
  sub.AppendMenuW(11, L"子项", 0);
  sub.CheckMenuItem(11, MF_CHECKED);
  CSkinMenu menu;
  ASSERT_TRUE(menu.CreateMenu());
  EXPECT_FALSE(menu.CreateMenu());
  menu.AppendMenuW(10, L"项", 0);
  menu.AppendSeparator();
  menu.InsertMenuW(sub.GetSafeHMenu(), L"子菜单", 0, MF_POPUP);

  HMENU tracked = nullptr;
  CSkinMenu::SetTrackHook([&](HMENU shown) {
    tracked = shown;
    return 11u;
  });
  EXPECT_TRUE(menu.TrackPopupMenu(0, 0, &sink));
  CSkinMenu::SetTrackHook(nullptr);
  EXPECT_EQ(tracked, menu.GetSafeHMenu());
  EXPECT_EQ(GetMenuItemCount(tracked), 3);
  EXPECT_EQ(GetSubMenu(tracked, 2), sub.GetSafeHMenu());
  EXPECT_EQ(GetMenuState(sub.GetSafeHMenu(), 11, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));

  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_EQ(sink.commands, std::vector<UINT>{11});
}

}  // namespace
