// The main panel in the test's process: the service's messages and status calls, the
// settings-changed restart, AI mode's size, the tray menu and its commands, the counts.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "DialogWatchdog.h"
#include "HandleCount.h"
#include "NameTables.h"
#include "PanelFixture.h"
#include "PostedObjects.h"
#include "TestEvent.h"
#include "skivra/SkinMenu.h"

namespace {

using KelvaneDlgTest = PanelFixture;

// A text posted as the IME service posts it.
void PostText(HWND panel, UINT message, WPARAM wParam, const wchar_t* text) {
  PostedObjects::Post(panel, message, wParam, std::make_unique<CString>(text));
}

TEST_F(KelvaneDlgTest, ServiceMessagesShowTheTextsAndCountOnlyFinalResults) {
  CreatePanel();
  const COLORREF green = RGB(0, 196, 51), grey = RGB(180, 180, 180);
  struct Step {
    UINT message;
    WPARAM wParam;
    const wchar_t* text;
    const wchar_t* statusLine;
    COLORREF colour;
    int total;
  };
  const Step steps[] = {
      {WM_IME_SESSION_BEGIN, 0, nullptr, L"识别中...", green, 0},
      {WM_IME_RESULT_TEXT, 0, L"你好", L"你好", green, 0},
      {WM_IME_RESULT_TEXT, 5, L"你好世界。", L"你好世界。", green, 5},
      {WM_IME_SESSION_END, 0, nullptr, L"Hello!", grey, 5},
  };
  for (const Step& step : steps) {
    if (step.text) {
      PostText(panel_, step.message, step.wParam, step.text);
    } else {
      PostMessageW(panel_, step.message, step.wParam, 0);
    }
    Pump();
    SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << step.message);
    EXPECT_EQ(LabelText(IDC_STATUS_LINE), step.statusLine);
    EXPECT_EQ(Label(IDC_STATUS_LINE).GetTextColor(), step.colour);
    EXPECT_EQ(dialog_.Statistics().Total(), step.total);
    EXPECT_EQ(dialog_.Statistics().Today(), step.total);
  }
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(panel_, IDC_RECOGNITION_BAR)));

  PostText(panel_, WM_IME_REPLY, 0, L"已打开记事本");
  Pump();
  EXPECT_EQ(LabelText(IDC_REPLY_LINE), L"已打开记事本");
}

TEST_F(KelvaneDlgTest, CountsAreSavedWhenThePanelCloses) {
  CreatePanel();
  PostText(panel_, WM_IME_RESULT_TEXT, 4, L"四个字符");
  Pump();
  // Long before the minute's save.
  dialog_.DestroyWindow();
  CInputStatistics saved;
  saved.Load(folder_.path());
  EXPECT_EQ(saved.Total(), 4);
  EXPECT_EQ(saved.Today(), 4);
}

TEST_F(KelvaneDlgTest, StatusCallsFromAnotherThreadReturnWithoutTheUIThread) {
  CreatePanel();
  ASSERT_TRUE(WaitForServiceStatus());
  TestEvent done;
  // The UI thread does not pump while the calls are made: they must not wait for it.
  std::thread service([&] {
    dialog_.SetNetworkStatus(1, L"已就绪");
    dialog_.SetTranslateStatus(1, L"", L"英语");
    done.Set();
  });
  const bool returned = done.Wait(3000);
  Pump();
  service.join();
  ASSERT_TRUE(returned) << "a status call waited for the UI thread";
  Pump();
  EXPECT_EQ(LabelText(IDC_STATUS_TEXT), L"已就绪");
}

TEST_F(KelvaneDlgTest, TranslationMarkTakesOnlyCharactersThatExist) {
  CreatePanel();
  ASSERT_TRUE(WaitForServiceStatus());
  HWND icon = StatusIcon();
  ASSERT_NE(icon, nullptr);
  struct Case {
    int on;
    const wchar_t* source;
    const wchar_t* target;
    const wchar_t* mark;
  };
  const Case cases[] = {
      {1, L"中文", L"英语", L"中英"},
      {1, L"", L"英语", L"英"},
      {1, L"中文", L"", L"中"},
      {1, L"", L"", L""},
      {0, L"中文", L"英语", L""},
  };
  for (const Case& c : cases) {
    dialog_.SetTranslateStatus(c.on, c.source, c.target);
    Pump();
    EXPECT_EQ(Text(icon), c.mark) << testing::PrintToString(std::wstring(c.source)) << " "
                                  << testing::PrintToString(std::wstring(c.target));
  }
}

TEST_F(KelvaneDlgTest, SettingsChangedDuringARestartRunsAfterIt) {
  CreatePanel();
  ASSERT_EQ(servicesStarted_, 1);
  // The first service's system check sends another change while the panel stops that
  // service: the second restart must wait for the first.
  std::atomic<bool> armed{true};
  HWND panel = panel_;
  networkCheck_ = [&armed, panel] {
    if (armed.exchange(false)) SendMessageW(panel, WM_SETTINGS_CHANGED, 0, 0);
    return 0;
  };
  dialog_.Service()->PostCommand(IME_SystemCheck);
  SendMessageW(panel_, WM_SETTINGS_CHANGED, 0, 0);
  EXPECT_FALSE(armed);
  EXPECT_EQ(servicesStarted_, 3);
  ASSERT_NE(dialog_.Service(), nullptr);

  SendMessageW(panel_, WM_SETTINGS_CHANGED, 0, 0);
  EXPECT_EQ(servicesStarted_, 4);
}

TEST_F(KelvaneDlgTest, AIModeGrowsUpwardsKeepingTheRightEdge) {
  CreatePanel();
  struct Case {
    int bottom;
    RECT ai;
  };
  // Above y = 523 the panel cannot grow up by 410: it starts at 3 and reaches further down.
  const Case cases[] = {{900, {470, 380, 800, 900}}, {400, {470, 3, 800, 523}}};
  for (const Case& c : cases) {
    SetWindowPos(panel_, nullptr, 470, c.bottom - 110, 330, 110, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(panel_, WM_IME_AI_MODE, 1, 0);
    RECT rect{};
    GetWindowRect(panel_, &rect);
    EXPECT_TRUE(EqualRect(&rect, &c.ai)) << rect.left << "," << rect.top << " " << rect.right << ","
                                         << rect.bottom;
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(panel_, IDC_AI_ANIMATION)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(panel_, IDC_REPLY_LINE)));

    SendMessageW(panel_, WM_IME_AI_MODE, 0, 0);
    GetWindowRect(panel_, &rect);
    const RECT back{c.ai.right - 330, c.ai.bottom - 110, c.ai.right, c.ai.bottom};
    EXPECT_TRUE(EqualRect(&rect, &back));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(panel_, IDC_AI_ANIMATION)));
  }
}

// One line per menu entry, submenus indented, "*" for a check mark.
std::vector<std::wstring> Describe(HMENU menu, const std::wstring& indent = L"") {
  std::vector<std::wstring> lines;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = L"";
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_STATE | MIIM_FTYPE | MIIM_ID;
    item.dwTypeData = text;
    item.cch = 64;
    GetMenuItemInfoW(menu, i, TRUE, &item);
    if (item.fType & MFT_SEPARATOR) {
      lines.push_back(indent + L"-");
      continue;
    }
    lines.push_back(indent + text + ((item.fState & MFS_CHECKED) ? L" *" : L""));
    if (item.hSubMenu) {
      for (const std::wstring& line : Describe(item.hSubMenu, indent + L"  ")) lines.push_back(line);
    }
  }
  return lines;
}

class TrayMenuTest : public PanelFixture {
 protected:
  ~TrayMenuTest() override {
    CSkinMenu::SetTrackHook(nullptr);
    SetShift(false);
  }
  // Right-clicks the tray icon; the menu is described, and the command chosen.
  std::vector<std::wstring> OpenMenu(UINT choose = 0) {
    std::vector<std::wstring> lines;
    CSkinMenu::SetTrackHook([&](HMENU menu) {
      lines = Describe(menu);
      return choose;
    });
    SendMessageW(panel_, WM_TRAY_NOTIFY, CKelvaneDlg::kTrayIconId, WM_RBUTTONUP);
    Pump();
    return lines;
  }
  static void SetShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
  }
};

TEST_F(TrayMenuTest, EntriesInOrderWithTheDebugMenuOnlyUnderShift) {
  CreatePanel();
  PostText(panel_, WM_IME_RESULT_TEXT, 3, L"三个字");
  Pump();
  EXPECT_EQ(OpenMenu(), (std::vector<std::wstring>{L"显示悬浮窗 *", L"选项", L"统计", L"  今日输入:3",
                                                   L"  总计输入:3", L"-", L"开机启动", L"退出"}));
  SetShift(true);
  ShowWindow(panel_, SW_HIDE);
  EXPECT_EQ(OpenMenu(), (std::vector<std::wstring>{
                            L"显示悬浮窗", L"调试", L"  打开Trace窗口", L"  Trace级别", L"    None",
                            L"    Info", L"    Normal", L"    Warning", L"    Exception", L"    Debug *",
                            L"选项", L"统计", L"  今日输入:3", L"  总计输入:3", L"-", L"开机启动", L"退出"}));
}

TEST_F(TrayMenuTest, TraceLevelItemsSetTheConsoleFilter) {
  CreatePanel();
  for (UINT id = ID_TRAY_TRACE_NONE; id <= ID_TRAY_TRACE_DEBUG; ++id) {
    OpenMenu(id);
    const int filter = static_cast<int>(id - ID_TRAY_TRACE_NONE) - 1;
    EXPECT_EQ(dialog_.TraceDialog().m_console.GetFilter(), filter);
    SetShift(true);
    const std::vector<std::wstring> menu = OpenMenu();
    SetShift(false);
    const std::wstring checked = menu[4 + (id - ID_TRAY_TRACE_NONE)];
    EXPECT_EQ(checked.substr(checked.size() - 2), L" *") << testing::PrintToString(checked);
  }
}

TEST_F(TrayMenuTest, ShowAndExitCommands) {
  CreatePanel();
  SendMessageW(panel_, WM_COMMAND, IDC_CLOSE_BUTTON, 0);
  EXPECT_FALSE(IsWindowVisible(panel_));
  OpenMenu(ID_TRAY_SHOW_PANEL);
  EXPECT_TRUE(IsWindowVisible(panel_));
  SendMessageW(panel_, WM_COMMAND, IDC_CLOSE_BUTTON, 0);
  SendMessageW(panel_, WM_TRAY_NOTIFY, CKelvaneDlg::kTrayIconId, WM_LBUTTONUP);
  EXPECT_TRUE(IsWindowVisible(panel_));
  // Enter, Escape and Alt+F4 leave the panel as it is.
  SendMessageW(panel_, WM_COMMAND, IDOK, 0);
  SendMessageW(panel_, WM_COMMAND, IDCANCEL, 0);
  SendMessageW(panel_, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(IsWindow(panel_));
  EXPECT_TRUE(IsWindowVisible(panel_));
}

class SettingsToolTest : public TrayMenuTest {
 protected:
  SettingsToolTest() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    folder_ = std::filesystem::path(path).parent_path();
  }
  ~SettingsToolTest() override {
    std::error_code ignored;
    std::filesystem::remove(folder_ / L"Doravel.exe", ignored);
    SetEnvironmentVariableW(L"AI_STUB_EVENT", nullptr);
  }
  std::filesystem::path folder_;
};

TEST_F(SettingsToolTest, MissingSettingsToolShowsTheFailureBox) {
  DialogWatchdog watchdog;  // the shell may show a box of its own
  CreatePanel();
  OpenMenu(ID_TRAY_OPTIONS);
  EXPECT_EQ(boxes_, std::vector<std::wstring>{L"打开配置失败！"});
}

TEST_F(SettingsToolTest, StartingTheSettingsToolKeepsNoHandle) {
  std::filesystem::copy_file(folder_ / L"ai_stub.exe", folder_ / L"Doravel.exe",
                             std::filesystem::copy_options::overwrite_existing);
  HANDLE started = CreateEventW(nullptr, FALSE, FALSE, L"KelvaneDoravelStarted");
  SetEnvironmentVariableW(L"AI_STUB_EVENT", L"KelvaneDoravelStarted");
  CreatePanel();
  // The first start loads what the shell needs once.
  OpenMenu(ID_TRAY_OPTIONS);
  ASSERT_EQ(WaitForSingleObject(started, 10000), WAIT_OBJECT_0);
  Sleep(200);
  const int before = OpenHandleCount();
  OpenMenu(ID_TRAY_OPTIONS);
  ASSERT_EQ(WaitForSingleObject(started, 10000), WAIT_OBJECT_0);
  Sleep(200);
  EXPECT_EQ(OpenHandleCount(), before);
  EXPECT_TRUE(boxes_.empty());
  CloseHandle(started);
}

}  // namespace
