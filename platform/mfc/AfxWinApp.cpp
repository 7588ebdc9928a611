#include "mfc/AfxWinApp.h"

#include <filesystem>

namespace {

CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp(const wchar_t* appName) : m_pszAppName(appName) { g_app = this; }

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

int CWinApp::Run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  m_exitCode = static_cast<int>(msg.wParam);
  return ExitInstance();
}

BOOL CWinApp::OnCmdMsg(UINT id) {
  for (const CommandEntry& entry : GetCommandMap()) {
    if (entry.id == id) {
      (this->*entry.handler)();
      return TRUE;
    }
  }
  return FALSE;
}

void CWinApp::OnHelp() { WinHelp(0, HELP_FINDER); }

void CWinApp::WinHelp(DWORD_PTR data, UINT command) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(m_hInstance, path, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return;
  const std::filesystem::path file = std::filesystem::path(path).replace_extension(L".hlp");
  ::WinHelpW(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, file.c_str(), command, data);
}

CWinApp* AfxGetApp() { return g_app; }
