#include "KelvaneApp.h"

#include <commctrl.h>

#include <memory>

#include "KelvaneDlg.h"
#include "StoreLog.h"
#include "TraceMessage.h"
#include "mfc/AfxRichEdit.h"
#include "mfc/AfxShellManager.h"
#include "mfc/AfxVisualManager.h"
#include "skivra/Skivra.h"

CKelvaneApp theApp;

std::vector<CWinApp::CommandEntry> CKelvaneApp::GetCommandMap() const {
  return {{ID_HELP, &CWinApp::OnHelp}};
}

BOOL CKelvaneApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  CWinApp::InitInstance();
  AfxInitRichEdit2();
  auto shellManager = std::make_unique<CShellManager>();
  CMFCVisualManager::SetDefaultManager<CMFCVisualManagerWindows>();

  // Held for the life of the process; a second copy leaves at once, silently.
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
  if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return FALSE;
  }
  SetRegistryKey(L"应用程序向导生成的本地应用程序");
  InitSkivra();
  // A settings file that does not load, and where a save kept it, go into the trace log.
  SetStoreLogSink([](const std::wstring& line) { TraceMessage(kTraceError, L"%s", line.c_str()); });

  CKelvaneDlg dialog;
  m_pMainWnd = &dialog;
  dialog.DoModal();
  shellManager.reset();
  m_pMainWnd = nullptr;
  return FALSE;
}
