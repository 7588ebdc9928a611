// The tray icon, its menu and the menu's commands.
#include <cwchar>

#include "KelvaneDlg.h"
#include "TraceMessage.h"
#include "skivra/SkinMenu.h"
#include "skivra/Skivra.h"
#include "tessik/TessikService.h"

namespace {

// Trace level items, filter -1 to 4.
const wchar_t* const kTraceLevelNames[] = {L"None",    L"Info",      L"Normal",
                                           L"Warning", L"Exception", L"Debug"};
constexpr int kLowestFilter = -1;

}  // namespace

void CKelvaneDlg::ShowTrayIcon(int add) {
  if (add != 1) {
    Shell_NotifyIconW(NIM_DELETE, &m_tray);
    return;
  }
  m_tray = NOTIFYICONDATAW{};
  m_tray.cbSize = sizeof(NOTIFYICONDATAW);
  m_tray.hWnd = m_hWnd;
  m_tray.uID = kTrayIconId;
  m_tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  m_tray.uCallbackMessage = WM_TRAY_NOTIFY;
  m_tray.hIcon = LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_TRAY_ONLINE));
  wcscpy_s(m_tray.szTip, L"AI语音识别输入法");
  Shell_NotifyIconW(NIM_ADD, &m_tray);
}

void CKelvaneDlg::OnTrayNotify(LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONUP) {
    ShowWindow(SW_SHOWNORMAL);
  } else if (mouseMessage == WM_RBUTTONUP) {
    ShowTrayMenu();
  }
}

void CKelvaneDlg::ShowTrayMenu() {
  SetForegroundWindow();
  // Submenus first: the main menu, destroyed first, takes the ones inserted into it along.
  CSkinMenu levels;
  levels.CreateMenu();
  const int filter = m_trace.m_console.GetFilter();
  for (int level = kLowestFilter; level <= kTraceDebug; ++level) {
    const UINT id = ID_TRAY_TRACE_NONE + (level - kLowestFilter);
    levels.AppendMenuW(id, kTraceLevelNames[level - kLowestFilter], 0);
    if (level == filter) levels.CheckMenuItem(id, MF_CHECKED);
  }
  CSkinMenu debug;
  debug.CreateMenu();
  debug.AppendMenuW(ID_TRAY_SHOW_TRACE, L"打开Trace窗口", 0);
  debug.InsertMenuW(levels.GetSafeHMenu(), L"Trace级别", 0, MF_POPUP);

  CString today, total;
  today.Format(L"今日输入:%d", m_statistics.Today());
  total.Format(L"总计输入:%d", m_statistics.Total());
  CSkinMenu statistics;
  statistics.CreateMenu();
  statistics.AppendMenuW(ID_TRAY_TODAY_COUNT, today, 0);
  statistics.AppendMenuW(ID_TRAY_TOTAL_COUNT, total, 0);

  CSkinMenu menu;
  menu.CreateMenu();
  menu.AppendMenuW(ID_TRAY_SHOW_PANEL, L"显示悬浮窗", 0);
  if (IsWindowVisible()) menu.CheckMenuItem(ID_TRAY_SHOW_PANEL, MF_CHECKED);
  if (GetKeyState(VK_SHIFT) < 0) menu.InsertMenuW(debug.GetSafeHMenu(), L"调试", 0, MF_POPUP);
  menu.AppendMenuW(ID_TRAY_OPTIONS, L"选项", 0);
  menu.InsertMenuW(statistics.GetSafeHMenu(), L"统计", 0, MF_POPUP);
  menu.AppendSeparator();
  menu.AppendMenuW(ID_TRAY_AUTORUN, L"开机启动", 0);
  if (IsAutoRun()) menu.CheckMenuItem(ID_TRAY_AUTORUN, MF_CHECKED);
  menu.AppendMenuW(ID_TRAY_EXIT, L"退出", 0);

  POINT cursor{};
  GetCursorPos(&cursor);
  menu.TrackPopupMenu(cursor.x, cursor.y, this);
}

void CKelvaneDlg::OnTrayCommand(UINT id) {
  if (id >= ID_TRAY_TRACE_NONE && id <= ID_TRAY_TRACE_DEBUG) {
    m_trace.m_console.SetFilter(kLowestFilter + static_cast<int>(id - ID_TRAY_TRACE_NONE));
    return;
  }
  switch (id) {
    case ID_TRAY_SHOW_PANEL:
      ShowWindow(SW_SHOWNORMAL);
      break;
    case ID_TRAY_SHOW_TRACE:
      m_trace.ShowWindow(SW_SHOW);
      break;
    case ID_TRAY_OPTIONS:
      StartSettingsTool();
      break;
    case ID_TRAY_AUTORUN:
      SetAutoRun(IsAutoRun() ? 0 : 1);
      break;
    case ID_TRAY_EXIT:
      ShowTrayIcon(0);
      EndDialog(IDCANCEL);
      break;
  }
}

void CKelvaneDlg::StartSettingsTool() {
  wchar_t folder[MAX_PATH] = L"";
  CTessikService::GetWorkDirectory(folder, MAX_PATH);
  CString file;
  file.Format(L"%s/%s", folder, L"Doravel.exe");
  SHELLEXECUTEINFOW start{};
  start.cbSize = sizeof(start);
  start.fMask = SEE_MASK_NOCLOSEPROCESS;
  start.lpFile = file;
  start.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&start)) {
    SkinMessageBox(L"打开配置失败！");
    return;
  }
  // Nobody waits for the settings tool: its handle is not kept.
  if (start.hProcess) CloseHandle(start.hProcess);
}
