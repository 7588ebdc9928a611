#include "KelvaneApp.h"

#include <commctrl.h>

#include "KelvaneDlg.h"
#include "StoreLog.h"
#include "TraceMessage.h"
#include "mfc/AfxRichEdit.h"
#include "skivra/Skivra.h"

CKelvaneApp theApp;

BOOL CKelvaneApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  CWinApp::InitInstance();
  AfxInitRichEdit2();

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
  m_pMainWnd = nullptr;
  return FALSE;
}
