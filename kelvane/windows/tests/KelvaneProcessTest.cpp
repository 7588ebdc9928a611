// Kelvane.exe as a process: single instance, its panel and tray icon, the settings-changed
// restart, the menu commands sent from outside, and its ways to end.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "DialogWatchdog.h"
#include "FocusedEdit.h"
#include "KelvaneProcess.h"
#include "SettingsStore.h"

namespace {

// True once the condition holds; false after the time-out.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs = 20000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= timeoutMs) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(50);
  }
  return true;
}

RECT WorkArea() {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

// The program's settings folder (the same user, so the same folder), holding a settings
// file of the test's and the program's log; the settings file goes with the fixture.
class KelvaneProcessTest : public testing::Test {
 protected:
  KelvaneProcessTest() : folder_(GetAppDataFolder()) {
    CreateFolderPath(folder_);
    WriteSettings("Process Mic A");
    logsBefore_ = Logs().size();
  }
  ~KelvaneProcessTest() override {
    std::error_code ignored;
    std::filesystem::remove(folder_ + L"\\imecfg.prototxt", ignored);
  }

  // A general microphone of the name and a control device that does not exist.
  void WriteSettings(const std::string& micName) {
    std::ofstream(std::filesystem::path(folder_ + L"\\imecfg.prototxt"), std::ios::binary)
        << "ctl_config {\n  ctl_mode: CtlMode_HID\n  device_descriptor {\n    path: "
           "\"\\\\\\\\?\\\\hid#absent\"\n  }\n}\nmic_config {\n  mic_mode: MicMode_Gen\n"
           "  device_descriptor {\n    name: \""
        << micName << "\"\n  }\n}\n";
  }
  // The program's log files, joined, or what they gained since the fixture began.
  std::string NewLogs() const { return Logs().substr(logsBefore_); }
  std::string Logs() const {
    std::string text;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder_ + L"\\Log", ignored)) {
      std::ifstream file(entry.path(), std::ios::binary);
      text += std::string(std::istreambuf_iterator<char>(file), {});
    }
    return text;
  }
  size_t LogCount(const std::string& text) const {
    const std::string logs = NewLogs();
    size_t count = 0;
    for (size_t at = logs.find(text); at != std::string::npos; at = logs.find(text, at + 1)) ++count;
    return count;
  }

  std::wstring folder_;
  size_t logsBefore_ = 0;
};

TEST_F(KelvaneProcessTest, SecondStartLeavesAtOnceAndTheFirstRunsOn) {
  DialogWatchdog watchdog;
  KelvaneProcess first;
  ASSERT_TRUE(first.started());
  watchdog.Watch(first.id());
  HWND panel = first.WaitForPanel();
  ASSERT_NE(panel, nullptr);

  KelvaneProcess second;
  ASSERT_TRUE(second.started());
  ASSERT_TRUE(second.HasExited(20000));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_EQ(second.WaitForPanel(500), nullptr);
  EXPECT_FALSE(first.HasExited(0));
  EXPECT_TRUE(IsWindow(panel));
}

TEST_F(KelvaneProcessTest, PanelSlidesInWithoutFocusAndTheTrayIconLeavesWithTheProgram) {
  FocusedEdit edit;
  ASSERT_TRUE(edit.HasFocus());
  const HWND focused = GetForegroundWindow();
  DialogWatchdog watchdog;
  KelvaneProcess kelvane;
  watchdog.Watch(kelvane.id());
  HWND panel = kelvane.WaitForPanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(HasTrayIcon(panel));

  const RECT area = WorkArea();
  RECT rect{};
  EXPECT_TRUE(WaitFor([&] {
    GetWindowRect(panel, &rect);
    return rect.right == area.right - 10 && rect.bottom == area.bottom - 10;
  })) << "panel at " << rect.left << "," << rect.top << " " << rect.right << "," << rect.bottom;
  EXPECT_EQ(rect.right - rect.left, 330);
  EXPECT_EQ(rect.bottom - rect.top, 110);
  EXPECT_TRUE(IsWindowVisible(panel));
  const LONG_PTR exStyle = GetWindowLongPtrW(panel, GWL_EXSTYLE);
  EXPECT_EQ(exStyle & (WS_EX_NOACTIVATE | WS_EX_TOPMOST), WS_EX_NOACTIVATE | WS_EX_TOPMOST);
  // Off the taskbar.
  EXPECT_EQ(exStyle & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), WS_EX_TOOLWINDOW);
  wchar_t className[64] = L"", title[64] = L"";
  GetClassNameW(GetForegroundWindow(), className, 64);
  GetWindowTextW(GetForegroundWindow(), title, 64);
  EXPECT_EQ(GetForegroundWindow(), focused) << testing::PrintToString(std::wstring(className)) << " "
                                            << testing::PrintToString(std::wstring(title));
  EXPECT_TRUE(edit.HasFocus());

  // "退出" from the tray menu.
  PostMessageW(panel, WM_COMMAND, ID_TRAY_EXIT, 0);
  ASSERT_TRUE(kelvane.HasExited(20000));
  EXPECT_EQ(kelvane.ExitCode(), 0u);
  EXPECT_FALSE(HasTrayIcon(panel));
}

TEST_F(KelvaneProcessTest, SettingsChangedRestartsTheServiceWithTheNewFile) {
  DialogWatchdog watchdog;
  KelvaneProcess kelvane;
  watchdog.Watch(kelvane.id());
  HWND panel = kelvane.WaitForPanel();
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(WaitFor([&] { return LogCount("Name: Process Mic A") == 1; }));

  WriteSettings("Process Mic B");
  DWORD_PTR answer = 1;
  ASSERT_TRUE(SendMessageTimeoutW(panel, WM_SETTINGS_CHANGED, 0, 0, SMTO_NORMAL, 20000, &answer));
  EXPECT_EQ(answer, 0u);
  EXPECT_TRUE(WaitFor([&] { return LogCount("Name: Process Mic B") == 1; }));
  EXPECT_EQ(LogCount("Name: Process Mic A"), 1u);
}

TEST_F(KelvaneProcessTest, TwoSettingsChangesAtOnceRestartTwiceWithoutHanging) {
  DialogWatchdog watchdog;
  KelvaneProcess kelvane;
  watchdog.Watch(kelvane.id());
  HWND panel = kelvane.WaitForPanel();
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(WaitFor([&] { return LogCount("IME service is started.") == 1; }));

  auto notify = [panel] {
    DWORD_PTR answer = 1;
    return SendMessageTimeoutW(panel, WM_SETTINGS_CHANGED, 0, 0, SMTO_NORMAL, 20000, &answer) != 0;
  };
  bool otherDone = false;
  std::thread other([&] { otherDone = notify(); });
  EXPECT_TRUE(notify());
  other.join();
  EXPECT_TRUE(otherDone);
  EXPECT_TRUE(WaitFor([&] { return LogCount("IME service is started.") == 3; }));
  EXPECT_FALSE(kelvane.HasExited(0));

  PostMessageW(panel, WM_COMMAND, ID_TRAY_EXIT, 0);
  EXPECT_TRUE(kelvane.HasExited(20000));
}

TEST_F(KelvaneProcessTest, ExitWhileSystemChecksAreQueuedEndsTheProgram) {
  DialogWatchdog watchdog;
  KelvaneProcess kelvane;
  watchdog.Watch(kelvane.id());
  HWND panel = kelvane.WaitForPanel();
  ASSERT_NE(panel, nullptr);
  for (int i = 0; i < 50; ++i) PostMessageW(panel, WM_TIMER, CKelvaneDlg::kSystemCheckTimer, 0);
  PostMessageW(panel, WM_COMMAND, ID_TRAY_EXIT, 0);
  ASSERT_TRUE(kelvane.HasExited(20000)) << "the exit hung behind the system checks";
  EXPECT_EQ(kelvane.ExitCode(), 0u);
  EXPECT_FALSE(HasTrayIcon(panel));
}

TEST_F(KelvaneProcessTest, KillMessageEndsTheProcessAndRemovesTheTrayIcon) {
  DialogWatchdog watchdog;
  KelvaneProcess kelvane;
  watchdog.Watch(kelvane.id());
  HWND panel = kelvane.WaitForPanel();
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(HasTrayIcon(panel));
  PostMessageW(panel, WM_KELVANE_KILL, 0, 0);
  ASSERT_TRUE(kelvane.HasExited(10000));
  EXPECT_EQ(kelvane.ExitCode(), 0u);
  EXPECT_FALSE(HasTrayIcon(panel));
}

TEST_F(KelvaneProcessTest, AutorunMenuItemWritesAndRemovesTheRunValue) {
  DialogWatchdog watchdog;
  KelvaneProcess kelvane;
  watchdog.Watch(kelvane.id());
  HWND panel = kelvane.WaitForPanel();
  ASSERT_NE(panel, nullptr);
  auto readValue = [](std::wstring* text, DWORD* size) {
    wchar_t data[MAX_PATH + 1] = L"";
    *size = sizeof(data);
    const bool found = RegGetValueW(HKEY_CURRENT_USER, CKelvaneDlg::kRunKey, CKelvaneDlg::kRunValue,
                                    RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr, data, size) == ERROR_SUCCESS;
    *text = data;
    return found;
  };
  std::wstring text;
  DWORD size = 0;
  RegDeleteKeyValueW(HKEY_CURRENT_USER, CKelvaneDlg::kRunKey, CKelvaneDlg::kRunValue);

  SendMessageW(panel, WM_COMMAND, ID_TRAY_AUTORUN, 0);
  ASSERT_TRUE(readValue(&text, &size));
  EXPECT_TRUE(_wcsicmp(text.c_str(), kelvane.program().c_str()) == 0) << testing::PrintToString(text);
  // Stored with its terminating zero.
  EXPECT_EQ(size, (text.size() + 1) * sizeof(wchar_t));

  SendMessageW(panel, WM_COMMAND, ID_TRAY_AUTORUN, 0);
  EXPECT_FALSE(readValue(&text, &size));

  // Another copy's path counts as off: the item takes the value over.
  const std::wstring older = L"C:\\Older\\Kelvane.exe";
  RegSetKeyValueW(HKEY_CURRENT_USER, CKelvaneDlg::kRunKey, CKelvaneDlg::kRunValue, REG_SZ,
                  older.c_str(), static_cast<DWORD>((older.size() + 1) * sizeof(wchar_t)));
  SendMessageW(panel, WM_COMMAND, ID_TRAY_AUTORUN, 0);
  ASSERT_TRUE(readValue(&text, &size));
  EXPECT_NE(text, older);
  RegDeleteKeyValueW(HKEY_CURRENT_USER, CKelvaneDlg::kRunKey, CKelvaneDlg::kRunValue);
}

TEST_F(KelvaneProcessTest, OptionsWithoutTheSettingsToolShowsTheFailureBox) {
  DialogWatchdog watchdog;
  KelvaneProcess kelvane;
  watchdog.Watch(kelvane.id());
  HWND panel = kelvane.WaitForPanel();
  ASSERT_NE(panel, nullptr);
  PostMessageW(panel, WM_COMMAND, ID_TRAY_OPTIONS, 0);
  EXPECT_TRUE(WaitFor([&] { return watchdog.HasClosed(L"打开配置失败！"); }));
  // The panel answers again once the boxes are closed.
  DWORD_PTR answer = 1;
  EXPECT_TRUE(SendMessageTimeoutW(panel, WM_KELVANE_NOOP, 0, 0, SMTO_NORMAL, 10000, &answer));
  EXPECT_FALSE(kelvane.HasExited(0));
}

}  // namespace
