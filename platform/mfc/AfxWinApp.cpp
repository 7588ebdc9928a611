#include "mfc/AfxWinApp.h"

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

CWinApp* AfxGetApp() { return g_app; }
