// Kelvane.exe started from the test's folder as its own process, found by its panel; killed
// if a test leaves it running.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "KelvaneDlg.h"

class KelvaneProcess {
 public:
  KelvaneProcess() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    program_ = path;
    program_ = program_.substr(0, program_.rfind(L'\\') + 1) + L"Kelvane.exe";
    std::wstring command = L"\"" + program_ + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    started_ = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &info_) != FALSE;
  }
  ~KelvaneProcess() {
    if (!started_) return;
    if (!HasExited(0)) TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  KelvaneProcess(const KelvaneProcess&) = delete;
  KelvaneProcess& operator=(const KelvaneProcess&) = delete;

  bool started() const { return started_; }
  DWORD id() const { return info_.dwProcessId; }
  const std::wstring& program() const { return program_; }
  bool HasExited(DWORD timeoutMs) {
    return WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
  }
  DWORD ExitCode() {
    DWORD code = 12345;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

  // The panel "Kelvane_MainWnd" of this process once its dialog loop has gone idle; null
  // when it does not appear in time. The dialog loop shows a hidden dialog at its first
  // idle, so a panel hidden before that would come back.
  HWND WaitForPanel(DWORD timeoutMs = 20000) {
    const DWORD start = GetTickCount();
    do {
      for (HWND window = FindWindowW(nullptr, kMainWindowTitle); window;
           window = FindWindowExW(nullptr, window, nullptr, kMainWindowTitle)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != info_.dwProcessId) continue;
        const DWORD waited = GetTickCount() - start;
        return WaitForInputIdle(info_.hProcess, waited < timeoutMs ? timeoutMs - waited : 0) == 0 ? window
                                                                                                  : nullptr;
      }
      Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
  }

 private:
  std::wstring program_;
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

// Whether the window has the tray icon: only an existing icon can be modified.
inline bool HasTrayIcon(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window;
  data.uID = CKelvaneDlg::kTrayIconId;
  data.uFlags = NIF_TIP;
  wcscpy_s(data.szTip, L"AI语音识别输入法");
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}
