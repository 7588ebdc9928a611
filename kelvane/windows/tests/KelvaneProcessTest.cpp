// Kelvane.exe as a process: single instance, its panel and tray icon, the settings-changed
// restart, the menu commands sent from outside, and its ways to end.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "DataCenter.pb.h"
#include "DialogWatchdog.h"
#include "FocusedEdit.h"
#include "KelvaneProcess.h"
#include "PostedObjects.h"
#include "PumpUntil.h"
#include "SettingsStore.h"
#include "SettingsText.h"

namespace {

// True once the condition holds; false after 20 s.
bool WaitFor(const std::function<bool()>& condition) { return PumpUntil(condition, 20000); }

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
    WriteTextFile(folder_ + L"\\imecfg.prototxt", SettingsText(R"(\\?\hid#absent)", micName));
  }
  // Starts the watchdog on the program's boxes and waits for its panel.
  HWND WatchAndWaitForPanel(KelvaneProcess& kelvane) {
    watchdog_.Watch(kelvane.id());
    return kelvane.WaitForPanel();
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
  DialogWatchdog watchdog_;
};

TEST_F(KelvaneProcessTest, SecondStartLeavesAtOnceAndTheFirstRunsOn) {
  KelvaneProcess first;
  ASSERT_TRUE(first.started());
  HWND panel = WatchAndWaitForPanel(first);
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
  KelvaneProcess kelvane;
  HWND panel = WatchAndWaitForPanel(kelvane);
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
  KelvaneProcess kelvane;
  HWND panel = WatchAndWaitForPanel(kelvane);
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
  KelvaneProcess kelvane;
  HWND panel = WatchAndWaitForPanel(kelvane);
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
  KelvaneProcess kelvane;
  HWND panel = WatchAndWaitForPanel(kelvane);
  ASSERT_NE(panel, nullptr);
  for (int i = 0; i < 50; ++i) PostMessageW(panel, WM_TIMER, CKelvaneDlg::kSystemCheckTimer, 0);
  PostMessageW(panel, WM_COMMAND, ID_TRAY_EXIT, 0);
  ASSERT_TRUE(kelvane.HasExited(20000)) << "the exit hung behind the system checks";
  EXPECT_EQ(kelvane.ExitCode(), 0u);
  EXPECT_FALSE(HasTrayIcon(panel));
}

TEST_F(KelvaneProcessTest, KillMessageEndsTheProcessAndRemovesTheTrayIcon) {
  KelvaneProcess kelvane;
  HWND panel = WatchAndWaitForPanel(kelvane);
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(HasTrayIcon(panel));
  PostMessageW(panel, WM_KELVANE_KILL, 0, 0);
  ASSERT_TRUE(kelvane.HasExited(10000));
  EXPECT_EQ(kelvane.ExitCode(), 0u);
  EXPECT_FALSE(HasTrayIcon(panel));
}

// The program's top-level window of the title, or null.
HWND ProcessWindow(DWORD processId, const wchar_t* title) {
  struct Search {
    DWORD processId;
    const wchar_t* title;
    HWND found;
  } search{processId, title, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) {
        auto* search = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t text[64] = L"";
        GetWindowTextW(window, text, 64);
        if (owner != search->processId || wcscmp(text, search->title) != 0) return TRUE;
        search->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring ChildText(HWND parent, int id) {
  wchar_t text[256] = L"";
  GetWindowTextW(GetDlgItem(parent, id), text, 256);
  return text;
}

TEST_F(KelvaneProcessTest, MessagesFromOtherProgramsNeverHandThemPointers) {
  KelvaneProcess kelvane;
  HWND panel = WatchAndWaitForPanel(kelvane);
  ASSERT_NE(panel, nullptr);
  // After the first system check the status text stays as it is.
  ASSERT_TRUE(WaitFor([&] { return LogCount("CIMEService System check finish.") >= 2; }));
  const HWND console = GetDlgItem(ProcessWindow(kelvane.id(), L"Debug"), IDC_TRACE_CONSOLE);
  ASSERT_NE(console, nullptr);
  const std::wstring statistics = folder_ + L"\\DataCenter.prototxt";
  const auto savedCounts = [&] {
    DeleteFileW(statistics.c_str());
    PostMessageW(panel, WM_TIMER, CKelvaneDlg::kStatisticsTimer, 0);
    EXPECT_TRUE(WaitFor([&] { return std::filesystem::exists(statistics); }));
    ORVANE::Config::DataCenterPb saved;
    std::ifstream file(std::filesystem::path(statistics), std::ios::binary);
    saved.ParseFromIstream(&file);
    return saved.word_statistics().SerializeAsString();
  };
  const auto texts = [&] {
    return ChildText(panel, IDC_STATUS_LINE) + L"|" + ChildText(panel, IDC_STATUS_TEXT) + L"|" +
           ChildText(panel, IDC_REPLY_LINE);
  };
  const std::string countsBefore = savedCounts();
  const std::wstring textsBefore = texts();

  struct Foreign {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } const messages[] = {
      {panel, WM_USER + 2, 5, 0},          {panel, WM_USER + 2, 5, 0x12345678},
      {panel, WM_USER + 5, 0, 0},          {panel, WM_USER + 5, 0, 0x10},
      {panel, WM_APP + 1, 0, 0},           {panel, WM_APP + 2, 0, 0},
      {console, WM_USER + 1, 0, 0x12345678},
  };
  for (const Foreign& m : messages) ASSERT_TRUE(PostMessageW(m.window, m.message, m.wParam, m.lParam));
  EXPECT_TRUE(WaitFor([&] { return LogCount(" ignored: lParam ") == std::size(messages); }))
      << LogCount(" ignored: lParam ");
  EXPECT_EQ(LogCount("PostedObjects Message 0x402 ignored: lParam 0x12345678 was not posted here"), 1u);

  DWORD_PTR answer = 1;
  EXPECT_TRUE(SendMessageTimeoutW(panel, WM_KELVANE_NOOP, 0, 0, SMTO_NORMAL, 10000, &answer));
  EXPECT_FALSE(kelvane.HasExited(0));
  EXPECT_EQ(texts(), textsBefore);
  EXPECT_EQ(savedCounts(), countsBefore);
  Sleep(500);
  EXPECT_EQ(LogCount(" ignored: lParam "), std::size(messages));  // one line each
}

TEST_F(KelvaneProcessTest, AFloodOfForeignMessagesCostsFewLinesLosesNoCountAndLetsTheExitThrough) {
  KelvaneProcess kelvane;
  HWND panel = WatchAndWaitForPanel(kelvane);
  ASSERT_NE(panel, nullptr);
  constexpr int kFlood = 20000;
  const auto postFlood = [&] {
    for (LPARAM foreign = 1; foreign <= kFlood; ++foreign) {
      ASSERT_TRUE(PostMessageW(panel, WM_IME_RESULT_TEXT, 0, foreign));
    }
  };
  const DWORD floodStart = GetTickCount();
  postFlood();
  // Hidden once the flood is handled, shown again once the lines it logged are written.
  PostMessageW(panel, WM_COMMAND, IDC_CLOSE_BUTTON, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(panel); })) << "the flood kept it busy";
  PostMessageW(panel, WM_TRAY_NOTIFY, CKelvaneDlg::kTrayIconId, WM_LBUTTONUP);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(panel) != FALSE; }));
  EXPECT_LE(LogCount(" ignored: lParam "), PostedObjects::kIgnoredLinesPerInterval);

  // One more after the interval (which began with the flood's first line) reports every
  // message held back.
  const DWORD waited = GetTickCount() - floodStart;
  const DWORD intervalEnd = static_cast<DWORD>(PostedObjects::kIgnoredLineIntervalMs) + 2000;
  if (waited < intervalEnd) Sleep(intervalEnd - waited);
  PostMessageW(panel, WM_IME_RESULT_TEXT, 0, kFlood + 1);
  ASSERT_TRUE(WaitFor([&] { return NewLogs().find("lParam 0x4e21 ") != std::string::npos; }));
  const std::string logs = NewLogs();
  const std::regex summary("PostedObjects (\\d+) more foreign messages were ignored");
  size_t counted = LogCount(" ignored: lParam ");
  for (std::sregex_iterator it(logs.begin(), logs.end(), summary), end; it != end; ++it) {
    counted += std::stoul((*it)[1]);
  }
  EXPECT_EQ(counted, kFlood + 1u);

  // The tray's exit queued behind another flood still takes effect.
  postFlood();
  PostMessageW(panel, WM_COMMAND, ID_TRAY_EXIT, 0);
  EXPECT_TRUE(kelvane.HasExited(20000));
}

TEST_F(KelvaneProcessTest, AutorunMenuItemWritesAndRemovesTheRunValue) {
  KelvaneProcess kelvane;
  HWND panel = WatchAndWaitForPanel(kelvane);
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
  KelvaneProcess kelvane;
  HWND panel = WatchAndWaitForPanel(kelvane);
  ASSERT_NE(panel, nullptr);
  PostMessageW(panel, WM_COMMAND, ID_TRAY_OPTIONS, 0);
  EXPECT_TRUE(WaitFor([&] { return watchdog_.HasClosed(L"打开配置失败！"); }));
  // The panel answers again once the boxes are closed.
  DWORD_PTR answer = 1;
  EXPECT_TRUE(SendMessageTimeoutW(panel, WM_KELVANE_NOOP, 0, 0, SMTO_NORMAL, 10000, &answer));
  EXPECT_FALSE(kelvane.HasExited(0));
}

}  // namespace
