// CWinApp: the one application object; the program's entry point (AfxWinMain.cpp) runs
// its InitInstance, then its message loop when InitInstance returns TRUE.
#pragma once

#include <windows.h>

#include "mfc/AfxWnd.h"

class CWinApp {
 public:
  // Registers this object as the process's application; one per process.
  explicit CWinApp(const wchar_t* appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance() { return TRUE; }
  // Runs the thread's message loop until WM_QUIT; returns ExitInstance().
  virtual int Run();
  virtual int ExitInstance() { return m_exitCode; }

  // The registry key under HKCU\Software that the profile functions would use.
  void SetRegistryKey(const wchar_t* company) { m_registryKey = company; }
  const CString& RegistryKey() const { return m_registryKey; }

  HINSTANCE m_hInstance = nullptr;
  const wchar_t* m_pszAppName;
  CWnd* m_pMainWnd = nullptr;

 private:
  CString m_registryKey;
  int m_exitCode = 0;
};

// The application object, or null when the program has none.
CWinApp* AfxGetApp();
