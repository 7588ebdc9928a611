// CWinApp: the one application object; the program's entry point (AfxWinMain.cpp) runs
// its InitInstance, then its message loop when InitInstance returns TRUE. Commands a dialog
// leaves unhandled reach the application's command map.
#pragma once

#include <windows.h>

#include <vector>

#include "mfc/AfxWnd.h"

// The command that asks for the application's help.
constexpr UINT ID_HELP = 0xE146;

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

  // Runs the handler of the command map's entry for the command; FALSE when it has none.
  BOOL OnCmdMsg(UINT id);
  // Opens the application's help file at its contents.
  void OnHelp();
  // Hands the request to the help engine with the program's help file (its path with the
  // extension ".hlp").
  virtual void WinHelp(DWORD_PTR data, UINT command);

  HINSTANCE m_hInstance = nullptr;
  const wchar_t* m_pszAppName;
  CWnd* m_pMainWnd = nullptr;

 protected:
  struct CommandEntry {
    UINT id;
    void (CWinApp::*handler)();
  };
  // The application's commands and their handlers; none here.
  virtual std::vector<CommandEntry> GetCommandMap() const { return {}; }

 private:
  CString m_registryKey;
  int m_exitCode = 0;
};

// The application object, or null when the program has none.
CWinApp* AfxGetApp();
