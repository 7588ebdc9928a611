// The real Kelvane.exe told to reload by Doravel.exe: after OK its service starts again with
// the device Doravel saved.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "DialogWatchdog.h"
#include "FileBytes.h"
#include "SettingsFolderFixture.h"
#include "base/ModuleDirectory.h"
#include "ProcessDriver.h"
#include "fakedevices/FakeDeviceSet.h"

namespace {

// Kelvane's log files, joined.
std::string KelvaneLogs() {
  std::string text;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(GetAppDataFolder() + L"\\Log", ignored)) {
    std::ifstream file(entry.path(), std::ios::binary);
    text += std::string(std::istreambuf_iterator<char>(file), {});
  }
  return text;
}

bool WaitFor(const std::function<bool()>& done, DWORD ms = 20000) {
  for (DWORD waited = 0; waited < ms; waited += 100) {
    if (done()) return true;
    Sleep(100);
  }
  return done();
}

using KelvaneReload = CleanSettingsFolder;

TEST_F(KelvaneReload, OkMakesTheRunningKelvaneRestartWithTheSavedDevice) {
  FakeDeviceSet devices;
  devices.AddBle(L"Tavri Vornix", L"e0d9a3b2c1f0", /*connected=*/true);
  devices.AddGatt(FakeGattServiceInstanceId(L"e0d9a3b2c1f0"));

  DialogWatchdog watchdog;
  Program kelvane(base::GetCurrentModuleDirectory() + L"..\\kelvane\\windows\\Kelvane.exe");
  ASSERT_TRUE(kelvane.started());
  watchdog.Watch(kelvane.id());
  ASSERT_TRUE(WaitFor([] { return FindWindowW(nullptr, L"Kelvane_MainWnd") != nullptr; })) << "no Kelvane window";
  ASSERT_TRUE(WaitFor([] { return KelvaneLogs().find("Name: ") != std::string::npos; })) << "Kelvane's service did not start";
  EXPECT_EQ(KelvaneLogs().find("e0d9a3b2c1f0"), std::string::npos);

  Program doravel(base::GetCurrentModuleDirectory() + L"Doravel.exe");
  HWND window = doravel.Window(L"UIMainFrame");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(ChooseFirstItem(doravel, window, kComboMicDev)) << "the device list did not open";
  Click(window, Content(kBtnOK));
  ASSERT_TRUE(doravel.Exited());
  EXPECT_EQ(doravel.ExitCode(), 0u);

  EXPECT_TRUE(WaitFor([] { return KelvaneLogs().find("Name: e0d9a3b2c1f0") != std::string::npos; }))
      << "Kelvane did not reload the saved device";
  EXPECT_FALSE(kelvane.Exited(0));
}

// As at login: Kelvane meets an unreadable settings file and statistics file first. It runs
// on the defaults, leaves the settings file as it is and writes the problem to its log; its
// save of the statistics keeps the damaged file under a free name and logs that name.
// Doravel, started after, tells the user about the settings file.
TEST_F(KelvaneReload, KelvaneFirstLeavesTheUnreadableSettingsForDoravelToTell) {
  ASSERT_TRUE(CreateFolderPath(GetAppDataFolder()));
  const std::string settings = "sr_config {\r\n  no_such_field: 1\r\n}\r\n";
  const std::wstring statisticsFile = GetAppDataFolder() + L"\\DataCenter.prototxt";
  const std::string statistics("\x0A\xFF\xFF", 3);
  WriteBytes(SettingsPath(), settings);
  WriteBytes(statisticsFile, statistics);

  DialogWatchdog watchdog;
  Program kelvane(base::GetCurrentModuleDirectory() + L"..\\kelvane\\windows\\Kelvane.exe");
  ASSERT_TRUE(kelvane.started());
  watchdog.Watch(kelvane.id());
  ASSERT_TRUE(WaitFor([] { return KelvaneLogs().find("Use default config.") != std::string::npos; }));
  EXPECT_NE(KelvaneLogs().find("imecfg.prototxt: line 2, column "), std::string::npos) << KelvaneLogs();
  // The minute's save of the statistics (timer 3), asked for now.
  PostMessageW(FindWindowW(nullptr, L"Kelvane_MainWnd"), WM_TIMER, 3, 0);
  ASSERT_TRUE(WaitFor([] { return KelvaneLogs().find("kept as ") != std::string::npos; }));
  EXPECT_NE(KelvaneLogs().find("DataCenter.prototxt is not a valid binary message; kept as "), std::string::npos);
  EXPECT_EQ(ReadBytes(statisticsFile + L".bad"), statistics);
  EXPECT_EQ(ReadBytes(SettingsPath()), settings);

  Program doravel(base::GetCurrentModuleDirectory() + L"Doravel.exe");
  ASSERT_NE(doravel.Window(L"UIMainFrame"), nullptr);
  EXPECT_NE(WaitForProcessWindow(doravel.id(), L"MsgBox"), nullptr) << "Doravel did not tell";
  EXPECT_EQ(ReadBytes(SettingsPath()), settings);
}

}  // namespace
