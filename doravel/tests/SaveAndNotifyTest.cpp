// OK's save: the two failure boxes with their texts, and the notice after a save.
#include "form/SaveAndNotify.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "AtomicFile.h"
#include "FileBytes.h"
#include "SettingsFolderFixture.h"

namespace {

using OkAction = CleanSettingsFolder;

ORVANE::Config::ConfigPb Defaults() {
  ORVANE::Config::ConfigPb config;
  SetDefaultConfig(&config);
  return config;
}

std::wstring TextOf(HWND window) {
  wchar_t text[512] = L"";
  GetWindowTextW(window, text, 512);
  return text;
}

// Closes the first message box of this process that appears, noting its caption and text.
class MessageBoxWatchdog {
 public:
  MessageBoxWatchdog() {
    thread_ = std::thread([this] {
      for (int waited = 0; waited < 10000 && !stop_; waited += 10) {
        HWND box = FindBox();
        if (box) {
          caption = TextOf(box);
          EnumChildWindows(box, &CollectStatic, reinterpret_cast<LPARAM>(&text));
          PostMessageW(box, WM_COMMAND, IDOK, 0);
          return;
        }
        Sleep(10);
      }
    });
  }
  ~MessageBoxWatchdog() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

  std::wstring caption;
  std::wstring text;

 private:
  static HWND FindBox() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
          DWORD process = 0;
          GetWindowThreadProcessId(window, &process);
          wchar_t name[64] = L"";
          GetClassNameW(window, name, 64);
          if (process != GetCurrentProcessId() || std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
          *reinterpret_cast<HWND*>(found) = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  }
  static BOOL CALLBACK CollectStatic(HWND child, LPARAM text) {
    wchar_t name[64] = L"";
    GetClassNameW(child, name, 64);
    if (std::wstring(name) == L"Static" && !TextOf(child).empty()) *reinterpret_cast<std::wstring*>(text) = TextOf(child);
    return TRUE;
  }

  std::atomic<bool> stop_{false};
  std::thread thread_;
};

TEST_F(OkAction, AFolderThatCannotBeMadeShowsItsBoxAndWritesNothing) {
  WriteBytes(TavriFolder(), "in the way");
  MessageBoxWatchdog watchdog;
  EXPECT_FALSE(SaveSettingsAndNotifyKelvane(nullptr, Defaults()));
  watchdog.Stop();
  EXPECT_EQ(watchdog.text, L"无法访问应用目录");
  EXPECT_EQ(watchdog.caption, GetAppDataFolder());
  EXPECT_EQ(ReadBytes(TavriFolder()), "in the way");
  DeleteFileW(TavriFolder().c_str());
}

TEST_F(OkAction, AFileThatCannotBeWrittenShowsItsBoxAndKeepsTheOldOne) {
  ASSERT_TRUE(CreateFolderPath(GetAppDataFolder()));
  const std::string previous = "sr_config {\r\n  b_ptt: false\r\n}\r\n";
  WriteBytes(SettingsPath(), previous);
  const std::wstring blocker = TemporaryPathFor(SettingsPath());
  ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
  MessageBoxWatchdog watchdog;
  EXPECT_FALSE(SaveSettingsAndNotifyKelvane(nullptr, Defaults()));
  watchdog.Stop();
  RemoveDirectoryW(blocker.c_str());
  EXPECT_EQ(watchdog.caption, L"保存配置失败");
  EXPECT_EQ(watchdog.text, SettingsPath());
  EXPECT_EQ(ReadBytes(SettingsPath()), previous);
}

// A settings file that does not load: the save names the copy it keeps, or, when no copy
// can be made, shows why nothing was saved and leaves the file.
TEST_F(OkAction, ASaveOverAnUnreadableFileNamesItsCopyOrRefuses) {
  ASSERT_TRUE(CreateFolderPath(GetAppDataFolder()));
  const std::string unreadable = "sr_config { unreadable: 1 }";
  WriteBytes(SettingsPath(), unreadable);
  const std::wstring blocker = TemporaryPathFor(SettingsPath() + L".bad");
  ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
  MessageBoxWatchdog refused;
  EXPECT_FALSE(SaveSettingsAndNotifyKelvane(nullptr, Defaults()));
  refused.Stop();
  RemoveDirectoryW(blocker.c_str());
  EXPECT_EQ(refused.caption, L"保存配置失败");
  EXPECT_EQ(refused.text, L"原有设置无法读取，也无法另存一份，设置未保存：\r\n" + SettingsPath());
  EXPECT_EQ(ReadBytes(SettingsPath()), unreadable);

  MessageBoxWatchdog kept;
  EXPECT_TRUE(SaveSettingsAndNotifyKelvane(nullptr, Defaults()));
  kept.Stop();
  EXPECT_EQ(kept.caption, L"提示");
  EXPECT_EQ(kept.text, L"原有设置无法读取，已另存为：\r\n" + SettingsPath() + L".bad");
  EXPECT_EQ(ReadBytes(SettingsPath() + L".bad"), unreadable);
}

TEST_F(OkAction, ASaveWithoutKelvaneShowsNothing) {
  MessageBoxWatchdog watchdog;
  EXPECT_TRUE(SaveSettingsAndNotifyKelvane(nullptr, Defaults()));
  watchdog.Stop();
  EXPECT_EQ(watchdog.caption, L"");
  EXPECT_FALSE(ReadBytes(SettingsPath()).empty());
}

}  // namespace
