#include "BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "KelvaneDlg.h"

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart * 1000.0 / frequency;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(1);
  }
  return true;
}

bool Fail(const char* what) {
  std::fprintf(stderr, "kelvane_benchmark: %s\n", what);
  return false;
}

Spread SpreadOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return {values.front(), values[values.size() / 2], values.back()};
}

KelvaneProgram::KelvaneProgram() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command =
      L"\"" + std::filesystem::path(self).replace_filename(L"Kelvane.exe").wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info_)) {
    return;
  }
  WaitUntil([&] { return (panel_ = FindWindowW(nullptr, kMainWindowTitle)) != nullptr; });
  found_ = panel_ != nullptr && unix_.Find("Kelvane.exe");
}

KelvaneProgram::~KelvaneProgram() {
  if (info_.hProcess == nullptr) return;
  if (!exited_ && Exit() < 0) TerminateProcess(info_.hProcess, 1);
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool KelvaneProgram::Ready() const {
  if (info_.hProcess == nullptr) return Fail("Kelvane.exe did not start");
  if (panel_ == nullptr) return Fail("no panel");
  return found_ || Fail("the Unix process of Kelvane.exe was not found in /proc");
}

double KelvaneProgram::Exit() {
  const double start = Now();
  PostMessageW(panel_, WM_COMMAND, ID_TRAY_EXIT, 0);
  exited_ = WaitForSingleObject(info_.hProcess, 20000) == WAIT_OBJECT_0;
  return exited_ ? Now() - start : -1;
}
