// Doravel.exe end to end under Wine: its window over fake devices, real clicks through
// xdotool, the saved file, the notice to a fake Kelvane, the exits, the failure boxes.
#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ExpectedSettings.h"
#include "FakeKelvaneWindow.h"
#include "FileBytes.h"
#include "ProcessDriver.h"
#include "ScreenCapture.h"
#include "SettingsFolderFixture.h"
#include "TempFolder.h"
#include "base/ModuleDirectory.h"
#include "fakedevices/FakeDeviceSet.h"

namespace {

std::wstring DoravelExe() { return base::GetCurrentModuleDirectory() + L"Doravel.exe"; }

class DoravelProcess : public CleanSettingsFolder {
 protected:
  void SetUp() override {
    CleanSettingsFolder::SetUp();
    devices_.AddBle(L"Tavri Vornix", L"e0d9a3b2c1f0", /*connected=*/true);
    devices_.AddGatt(FakeGattServiceInstanceId(L"e0d9a3b2c1f0"));
    devices_.AddBle(L"Tavri Ring", L"f8f09e112233", /*connected=*/false);
  }
  bool SettingsFileExists() { return GetFileAttributesW(SettingsPath().c_str()) != INVALID_FILE_ATTRIBUTES; }

  FakeDeviceSet devices_;
};

TEST_F(DoravelProcess, ChoosingTheBleDeviceAndTranslationSavesNotifiesKelvaneAndEnds) {
  FakeKelvane kelvane(/*hung=*/false);
  g_notices = 0;
  Program doravel(DoravelExe());
  ASSERT_TRUE(doravel.started());
  HWND window = doravel.Window(L"UIMainFrame");
  ASSERT_NE(window, nullptr) << "the settings window never showed";
  Sleep(500);

  {  // The window as the user sees it, for the README.
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    RECT rect;
    GetWindowRect(window, &rect);
    ScreenCapture(rect).SavePng(base::GetCurrentModuleDirectory() + L"doravel_settings_window.png");
    Gdiplus::GdiplusShutdown(token);
  }
  {  // The noise field's "0" shows in the middle of the field, clear of its border.
    const RECT field = kEditEnvNoise;
    const RECT inside{kShadow + field.left + 1, kShadow + field.top + 1, kShadow + field.right - 1,
                      kShadow + field.bottom - 1};
    const Strokes digit = StrokesIn(window, inside, Content(POINT{field.right - 3, field.bottom - 3}));
    ASSERT_GT(digit.count, 5) << "the noise field shows no number";
    const RECT& at = digit.bounds;
    EXPECT_NEAR(at.left + at.right, inside.left + inside.right, 4) << "not centred across: " << at.left << ".." << at.right;
    EXPECT_NEAR(at.top + at.bottom, inside.top + inside.bottom, 4) << "not centred down: " << at.top << ".." << at.bottom;
  }

  ASSERT_TRUE(ChooseFirstItem(doravel, window, kComboMicDev)) << "the device list did not open";  // Tavri Vornix
  Click(window, Content(kOptTranslate));
  Click(window, Content(kBtnOK));

  ASSERT_TRUE(doravel.Exited()) << "OK did not end the tool";
  EXPECT_EQ(doravel.ExitCode(), 0u);
  EXPECT_EQ(g_notices, 1);
  EXPECT_EQ(ReadBytes(SettingsPath()), BleWithTranslationText());
}

TEST_F(DoravelProcess, CancelAndCloseEndWithoutWriting) {
  for (POINT button : {kBtnCancel, kCloseButton}) {
    Program doravel(DoravelExe());
    HWND window = doravel.Window(L"UIMainFrame");
    ASSERT_NE(window, nullptr);
    Click(window, Content(button));
    ASSERT_TRUE(doravel.Exited()) << button.x;
    EXPECT_EQ(doravel.ExitCode(), 0u);
    EXPECT_FALSE(SettingsFileExists());
  }
}

// Presses OK, expects the one message box with the caption and text, then cancels.
void ExpectSaveFailureBox(const std::wstring& caption, const std::wstring& text) {
  Program doravel(DoravelExe());
  HWND window = doravel.Window(L"UIMainFrame");
  ASSERT_NE(window, nullptr);
  Click(window, Content(kBtnOK));
  const BoxSeen seen = CloseMessageBoxOf(doravel.id());
  EXPECT_EQ(seen.caption, caption);
  EXPECT_EQ(seen.text, text);
  EXPECT_FALSE(doravel.Exited(500)) << "the window stays after a failed save";
  Click(window, Content(kBtnCancel));
  ASSERT_TRUE(doravel.Exited());
  EXPECT_EQ(doravel.ExitCode(), 0u);
}

TEST_F(DoravelProcess, SaveFailuresShowTheirBoxesAndLeaveNothingHalfWritten) {
  // The settings folder cannot be made: a file holds its parent's name.
  WriteBytes(TavriFolder(), "in the way");
  ExpectSaveFailureBox(GetAppDataFolder(), L"无法访问应用目录");
  EXPECT_EQ(ReadBytes(TavriFolder()), "in the way");
  DeleteFileW(TavriFolder().c_str());

  // The file cannot be replaced: its temporary name is taken by a folder. (A read-only folder
  // does not stop the root user these tests run as.)
  ASSERT_TRUE(CreateFolderPath(GetAppDataFolder()));
  const std::string previous = "sr_config {\r\n  b_ptt: false\r\n}\r\n";
  WriteBytes(SettingsPath(), previous);
  const std::wstring blocker = SettingsPath() + L".tmp";
  ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
  ExpectSaveFailureBox(L"保存配置失败", SettingsPath());
  RemoveDirectoryW(blocker.c_str());
  EXPECT_EQ(ReadBytes(SettingsPath()), previous);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(GetAppDataFolder()), {}), 1);
}

// Waits for the skinned notice box of the program and closes it with its "确定".
void CloseNotice(Program& doravel, HWND window) {
  HWND box = WaitForProcessWindow(doravel.id(), L"MsgBox");
  ASSERT_NE(box, nullptr) << "no notice";
  Sleep(500);  // the box's fade
  EXPECT_GT(StrokesIn(box, RECT{kShadow + 12, kShadow + 6, kShadow + 60, kShadow + 28}, Content(POINT{200, 17})).count, 5)
      << "the box's title does not show on its caption bar";
  RECT rect;
  GetWindowRect(box, &rect);
  Click(box, POINT{kShadow + 280, rect.bottom - rect.top - kShadow - 35});
  for (int waited = 0; waited < 5000 && !IsWindowEnabled(window); waited += 100) Sleep(100);
  ASSERT_TRUE(IsWindowEnabled(window)) << "the box did not close";
}

// An unreadable settings file: each start tells so in the skinned box; Cancel leaves the
// file as it is; OK keeps its bytes under a free name, says which, and saves the settings.
TEST_F(DoravelProcess, AnUnreadableSettingsFileIsToldAndKeptWhenSaved) {
  ASSERT_TRUE(CreateFolderPath(GetAppDataFolder()));
  const std::string unreadable = "sr_config {\r\n  b_append_enter: true\r\n  no_such_field: 1\r\n}\r\n";
  WriteBytes(SettingsPath(), unreadable);
  WriteBytes(SettingsPath() + L".bad", "an earlier incident");
  {
    Program doravel(DoravelExe());
    HWND window = doravel.Window(L"UIMainFrame");
    ASSERT_NE(window, nullptr);
    CloseNotice(doravel, window);
    Click(window, Content(kBtnCancel));
    ASSERT_TRUE(doravel.Exited());
    EXPECT_EQ(ReadBytes(SettingsPath()), unreadable);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(GetAppDataFolder()), {}), 2);
  }
  Program doravel(DoravelExe());
  HWND window = doravel.Window(L"UIMainFrame");
  ASSERT_NE(window, nullptr);
  CloseNotice(doravel, window);
  Click(window, Content(kBtnOK));
  const BoxSeen kept = CloseMessageBoxOf(doravel.id());
  EXPECT_EQ(kept.caption, L"提示");
  EXPECT_EQ(kept.text, L"原有设置无法读取，已另存为：\r\n" + SettingsPath() + L".1.bad");
  ASSERT_TRUE(doravel.Exited());
  EXPECT_EQ(doravel.ExitCode(), 0u);
  EXPECT_EQ(ReadBytes(SettingsPath() + L".1.bad"), unreadable);
  EXPECT_EQ(ReadBytes(SettingsPath() + L".bad"), "an earlier incident");
  EXPECT_NE(ReadBytes(SettingsPath()).find("b_append_enter: false"), std::string::npos);
}

// A copy of the program whose skin archive is no zip: the skin cannot be built, the error box
// shows, and the process ends with 0 instead of running on invisibly with the mutex.
TEST_F(DoravelProcess, ASkinThatFailsEndsTheProcessAfterItsBox) {
  TempFolder temp;
  const std::wstring copy = temp.File(L"Doravel.exe");
  ASSERT_TRUE(CopyFileW((base::GetCurrentModuleDirectory() + L"Doravel.exe").c_str(), copy.c_str(), FALSE));
  HANDLE update = BeginUpdateResourceW(copy.c_str(), FALSE);
  ASSERT_NE(update, nullptr);
  char not_a_zip[] = "not a zip archive";
  ASSERT_TRUE(UpdateResourceW(update, L"THEME", MAKEINTRESOURCEW(129), MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED),
                              not_a_zip, sizeof(not_a_zip)));
  ASSERT_TRUE(EndUpdateResourceW(update, FALSE));

  Program broken(copy);
  ASSERT_TRUE(broken.started());
  const BoxSeen seen = CloseMessageBoxOf(broken.id());
  EXPECT_EQ(seen.caption, L"SkinUI");
  EXPECT_NE(seen.text.find(L"controls.xml"), std::wstring::npos) << std::string(seen.text.begin(), seen.text.end());
  ASSERT_TRUE(broken.Exited());
  EXPECT_EQ(broken.ExitCode(), 0u);

  // The mutex went with it: a normal start shows its window.
  Program next(DoravelExe());
  HWND window = next.Window(L"UIMainFrame");
  ASSERT_NE(window, nullptr);
  Click(window, Content(kBtnCancel));
  EXPECT_TRUE(next.Exited());
}

}  // namespace
