#include "KelvaneDlg.h"

#include <algorithm>

#include "NameTables.h"
#include "PostedObjects.h"
#include "SettingsStore.h"
#include "TraceMessage.h"
#include "skivra/Skivra.h"

namespace {

const COLORREF kOnlineColor = RGB(18, 169, 57);
const COLORREF kOfflineColor = RGB(180, 180, 180);
const COLORREF kRecognitionColor = RGB(0, 196, 51);

struct NetworkStatus {
  int online;
  CString text;
};

struct TranslateStatus {
  int on;
  CString mark;
};

RECT WorkArea() {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

}  // namespace

CKelvaneDlg::CKelvaneDlg(CWnd* parent)
    : CSkinDialog(IDD, parent),
      m_hIcon(LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_settingsFolder(GetAppDataFolder()) {}

CKelvaneDlg::~CKelvaneDlg() = default;

void CKelvaneDlg::DoDataExchange(CDataExchange* dx) {
  CSkinDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_SPECTRUM, m_spectrum);
  DDX_Control(dx, IDC_CLOSE_BUTTON, m_closeButton);
  DDX_Control(dx, IDC_MODE_BUTTON, m_modeButton);
  DDX_Control(dx, IDC_STATUS_LINE, m_statusLine);
  DDX_Control(dx, IDC_STATUS_TEXT, m_statusText);
  DDX_Control(dx, IDC_NETWORK_ICON, m_networkIcon);
  DDX_Control(dx, IDC_AI_ANIMATION, m_aiAnimate);
  DDX_Control(dx, IDC_RECOGNITION_BAR, m_recognitionBar);
  DDX_Control(dx, IDC_REPLY_LINE, m_replyLine);
}

BOOL CKelvaneDlg::OnInitDialog() {
  CSkinDialog::OnInitDialog();
  if (!CreateFolderPath(m_settingsFolder)) {
    TraceMessage(kTraceError, L"CIMEService Fail to access app data folder:%s",
                 m_settingsFolder.c_str());
    SkinMessageBox(L"无法访问应用目录：%s", m_settingsFolder.c_str());
  }
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  m_online = 0;

  ShowBtnClose(0);
  ShowBtnMaxSize(0);
  ShowBtnMinSize(0);
  ShowLogo(0);
  ShowTitle(0);
  EnableFullWindowDrag(1);
  ShowOnTaskBar(0);

  ShowTrayIcon(1);
  SetWindowText(kMainWindowTitle);
  m_trace.Create(IDD_TRACE_DIALOG, nullptr);
  m_trace.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  TraceMessage(kTraceDebug, L"Start Trace");

  SetAttribute(AfxGetResourceHandle(), L"KELVANE_BG", nullptr);
  InitControls();
  ShowAIMode(0);
  Transparent(240, 240);
  m_statusIcon.Create(this);
  m_statusIcon.SetImage(AfxGetResourceHandle(), L"icon_imewidget_grey");
  m_statusIcon.Redraw();

  PlaceOutsideWorkArea();
  m_statusWindow = m_hWnd;
  SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  SetTimer(kSlideInTimer, kSlideInMs);
  StartService();
  SetTimer(kSystemCheckTimer, kSystemCheckMs);
  ShowShadow(1);
  LoadStatistics();
  // Shown here without activation, so the dialog code does not show (and activate) it.
  ShowWindow(SW_SHOWNOACTIVATE);
  return FALSE;
}

int CKelvaneDlg::OnCreate(LPCREATESTRUCTW create) {
  const int result = CSkinDialog::OnCreate(create);
  // Clicking the panel must leave the focus with the window that receives the text.
  ModifyStyleEx(0, WS_EX_NOACTIVATE | WS_EX_TOPMOST);
  return result;
}

LRESULT CKelvaneDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TRAY_NOTIFY:
      OnTrayNotify(lParam);
      return 0;
    case WM_IME_RESULT_TEXT:
      if (auto text = PostedObjects::Take<CString>(m_hWnd, message, lParam)) {
        OnResultText(wParam, *text);
      }
      return 0;
    case WM_IME_SESSION_BEGIN:
      OnSessionBegin();
      return 0;
    case WM_IME_SESSION_END:
      OnSessionEnd();
      return 0;
    case WM_IME_REPLY:
      if (auto text = PostedObjects::Take<CString>(m_hWnd, message, lParam)) OnReply(*text);
      return 0;
    case WM_SETTINGS_CHANGED:
      OnSettingsChanged();
      return 0;
    case WM_IME_AI_MODE:
      ShowAIMode(static_cast<int>(wParam));
      return 0;
    case WM_KELVANE_NOOP:
      return 0;
    case WM_KELVANE_KILL:
      OnKill();
      return 0;
    case WM_NETWORK_STATUS:
      if (auto status = PostedObjects::Take<NetworkStatus>(m_hWnd, message, lParam)) {
        ApplyNetworkStatus(status->online, status->text);
      }
      return 0;
    case WM_TRANSLATE_STATUS:
      if (auto status = PostedObjects::Take<TranslateStatus>(m_hWnd, message, lParam)) {
        ApplyTranslateStatus(status->on, status->mark);
      }
      return 0;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<LRESULT>(m_hIcon);
    case WM_HELP:
      return TRUE;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
  }
  return CSkinDialog::WindowProc(message, wParam, lParam);
}

void CKelvaneDlg::OnPaint() {
  if (!IsIconic()) {
    CSkinDialog::OnPaint();
    return;
  }
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(m_hWnd, &paint);
  CRect client;
  GetClientRect(client);
  DrawIcon(dc, (client.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2,
           (client.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2, m_hIcon);
  EndPaint(m_hWnd, &paint);
}

void CKelvaneDlg::DrawFrame(HDC dc, const CRect&) {
  CRect client;
  GetClientRect(client);
  HBRUSH brush = CreateSolidBrush(m_online ? kOnlineColor : kOfflineColor);
  const RECT edges[] = {{client.left, client.top, client.right, client.top + 1},
                        {client.left, client.bottom - 1, client.right, client.bottom},
                        {client.left, client.top, client.left + 1, client.bottom},
                        {client.right - 1, client.top, client.right, client.bottom}};
  for (const RECT& edge : edges) FillRect(dc, &edge, brush);
  DeleteObject(brush);
}

BOOL CKelvaneDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case IDC_CLOSE_BUTTON:
      ShowWindow(SW_HIDE);
      break;
    case IDC_MODE_BUTTON:
      ToggleAIMode();
      break;
    default:
      OnTrayCommand(LOWORD(wParam));
      break;
  }
  return CSkinDialog::OnCommand(wParam, lParam);
}

void CKelvaneDlg::ToggleAIMode() {
  if (m_service == nullptr) return;
  if (m_aiAnimate.IsWindowVisible()) {
    m_service->PostCommand(IME_SwitchSRMode);
  } else {
    m_service->PostCommand(IME_CloseMicDev);
    m_service->PostCommand(IME_SwitchAIMode);
  }
}

void CKelvaneDlg::OnTimer(UINT_PTR id) {
  switch (id) {
    case kSystemCheckTimer:
      if (m_service) m_service->PostCommand(IME_SystemCheck);
      break;
    case kSlideInTimer:
      if (SlideStep()) {
        const RECT area = WorkArea();
        CRect window;
        GetWindowRect(window);
        SetWindowPos(nullptr, area.right - window.Width() - 10, area.bottom - window.Height() - 10,
                     0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        KillTimer(kSlideInTimer);
      }
      break;
    case kStatisticsTimer:
      SaveStatistics();
      break;
  }
  CSkinDialog::OnTimer(id);
}

void CKelvaneDlg::PlaceOutsideWorkArea() {
  const RECT area = WorkArea();
  CRect window;
  GetWindowRect(window);
  SetWindowPos(nullptr, area.right + 10, area.bottom - window.Height() - 10, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CKelvaneDlg::SlideStep() {
  const RECT area = WorkArea();
  CRect window;
  GetWindowRect(window);
  const int step = (window.right - area.right) / 3 + 4;
  SetWindowPos(nullptr, window.left - step, window.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return window.right - step <= area.right;
}

void CKelvaneDlg::OnWindowPosChanged(WINDOWPOS* pos) {
  if (m_statusIcon.GetSafeHwnd() && pos->cx >= 0 && pos->cy > 0) {
    m_statusIcon.SetWindowPos(nullptr, pos->x - 9, pos->y - 13, 0, 0,
                              SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CSkinDialog::OnWindowPosChanged(pos);
}

void CKelvaneDlg::OnShowWindow(BOOL show, UINT status) {
  CSkinDialog::OnShowWindow(show, status);
  if (m_statusIcon.GetSafeHwnd()) m_statusIcon.ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void CKelvaneDlg::ShowStatusLine(COLORREF color, const wchar_t* text) {
  m_statusLine.SetTextColor(color);
  m_statusLine.SetWindowText(text);
}

void CKelvaneDlg::OnResultText(WPARAM length, const CString& text) {
  ShowStatusLine(kRecognitionColor, text);
  CountInput(static_cast<int>(length));
}

void CKelvaneDlg::OnSessionBegin() {
  m_recognitionBar.ShowWindow(SW_SHOWNOACTIVATE);
  m_recognitionBar.SetStep(0);
  m_recognitionBar.StartTimer();
  ShowStatusLine(kRecognitionColor, L"识别中...");
}

void CKelvaneDlg::OnSessionEnd() {
  m_recognitionBar.ShowWindow(SW_HIDE);
  m_recognitionBar.StopTimer();
  ShowStatusLine(kOfflineColor, L"Hello!");
}

void CKelvaneDlg::OnReply(const CString& text) { m_replyLine.SetWindowText(text); }

void CKelvaneDlg::ShowAIMode(int mode) {
  CRect window;
  GetWindowRect(window);
  if (mode == 0) {
    m_aiAnimate.ShowWindow(SW_HIDE);
    m_aiAnimate.StopTimer();
    m_replyLine.ShowWindow(SW_HIDE);
    m_modeButton.SetButtonImage(IDB_MODE_BUTTON, AfxGetResourceHandle(), false, true);
    SetWindowPos(nullptr, window.right - 330, window.bottom - 110, 330, 110,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutControls();
  } else if (mode == 1) {
    ShowWindow(SW_SHOWNOACTIVATE);
    const int top = std::max(3, static_cast<int>(window.bottom) - 520);
    SetWindowPos(nullptr, window.right - 330, top, 330, 520, SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutControls();
    m_aiAnimate.StartTimer();
    m_aiAnimate.ShowWindow(SW_SHOWNOACTIVATE);
    m_replyLine.ShowWindow(SW_SHOWNOACTIVATE);
    m_modeButton.SetButtonImage(IDB_MODE_BUTTON_AI, AfxGetResourceHandle(), false, true);
  }
}

void CKelvaneDlg::StartService() {
  m_service = std::make_unique<CIMEService>(this);
  m_service->SetSettingsFolder(m_settingsFolder);
  if (m_serviceSetup) m_serviceSetup(*m_service);
  m_service->Start();
  m_service->PostCommand(IME_SystemCheck);
}

void CKelvaneDlg::StopService() {
  if (m_service == nullptr) return;
  m_service->Stop();
  m_service.reset();
}

void CKelvaneDlg::OnSettingsChanged() {
  // Stopping serves messages sent meanwhile; a change among them runs after this restart.
  if (m_restarting) {
    m_restartPending = true;
    return;
  }
  m_restarting = true;
  do {
    m_restartPending = false;
    TraceMessage(kTraceInfo, L"检测到配置修改，正在重启服务...");
    KillTimer(kSystemCheckTimer);
    StopService();
    TraceMessage(kTraceInfo, L"服务已经停止，正在启动新服务...");
    StartService();
    SetTimer(kSystemCheckTimer, kSystemCheckMs);
  } while (m_restartPending);
  m_restarting = false;
}

void CKelvaneDlg::OnKill() {
  ShowTrayIcon(0);
  TerminateProcess(GetCurrentProcess(), 0);
}

void CKelvaneDlg::OnDestroy() {
  CSkinDialog::OnDestroy();
  m_statusWindow = nullptr;
  StopService();
  PostedObjects::Discard(m_hWnd);  // the service's messages still queued
  ShowTrayIcon(0);
  SaveStatistics();
  m_trace.DestroyWindow();
}

BOOL CKelvaneDlg::LoadStatistics() {
  m_statistics.Load(m_settingsFolder);
  SetTimer(kStatisticsTimer, kStatisticsMs);
  return TRUE;
}

BOOL CKelvaneDlg::CountInput(int n) {
  m_statistics.CountInput(n);
  return TRUE;
}

void CKelvaneDlg::SaveStatistics() { m_statistics.Save(); }

void CKelvaneDlg::SetNetworkStatus(int online, const wchar_t* text) {
  PostedObjects::Post(m_statusWindow, WM_NETWORK_STATUS, 0,
                      std::make_unique<NetworkStatus>(NetworkStatus{online, text}));
}

void CKelvaneDlg::SetTranslateStatus(int on, const wchar_t* srcName, const wchar_t* dstName) {
  CString mark;
  if (on == 1) {
    if (srcName && srcName[0]) mark += srcName[0];
    if (dstName && dstName[0]) mark += dstName[0];
  }
  PostedObjects::Post(m_statusWindow, WM_TRANSLATE_STATUS, 0,
                      std::make_unique<TranslateStatus>(TranslateStatus{on, mark}));
}

void CKelvaneDlg::AddSamples(const unsigned char* bytes, unsigned long size) {
  m_spectrum.AddSamples(bytes, size);
}

void CKelvaneDlg::ApplyNetworkStatus(int online, const wchar_t* text) {
  m_online = online;
  m_statusText.SetWindowText(text);
  RefreshStatusIcons();
  m_tray.hIcon = LoadIconW(AfxGetResourceHandle(),
                           MAKEINTRESOURCEW(online == 1 ? IDI_TRAY_ONLINE : IDI_TRAY_OFFLINE));
  Shell_NotifyIconW(NIM_MODIFY, &m_tray);
  Invalidate();
}

void CKelvaneDlg::ApplyTranslateStatus(int on, const wchar_t* mark) {
  m_translate = on;
  m_statusIcon.SetWindowText(mark);
  RefreshStatusIcons();
}
