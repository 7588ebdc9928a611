#include "DlgTrace.h"

#include "SettingsStore.h"
#include "TraceMessage.h"

void CDlgTrace::DoDataExchange(CDataExchange* dx) {
  CDialogEx::DoDataExchange(dx);
  DDX_Control(dx, IDC_TRACE_CONSOLE, m_console);
}

BOOL CDlgTrace::OnInitDialog() {
  CDialogEx::OnInitDialog();
  SetTraceConsoleWindow(m_console.m_hWnd);
  m_console.SetPrefix(L"ORVANE");
  m_console.OpenLog(true, GetAppDataFolder().c_str());
  SetWindowPos(nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) / 3,
               SWP_NOZORDER | SWP_NOACTIVATE);
  // Hidden until asked for: it must not take the activation from the user's window.
  SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  return TRUE;
}

int CDlgTrace::OnCreate(LPCREATESTRUCTW create) {
  const int result = CDialogEx::OnCreate(create);
  ModifyStyleEx(0, WS_EX_NOACTIVATE | WS_EX_TOPMOST);
  // The top-most bit only takes effect through the z-order.
  SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return result;
}

void CDlgTrace::OnSize(UINT type, int cx, int cy) {
  CDialogEx::OnSize(type, cx, cy);
  if (m_console.m_hWnd != nullptr) m_console.SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER);
}

void CDlgTrace::OnDestroy() {
  // Lines traced from now on are refused instead of posted to a window about to go.
  if (GetTraceConsoleWindow() == m_console.m_hWnd) SetTraceConsoleWindow(nullptr);
  CDialogEx::OnDestroy();
}
