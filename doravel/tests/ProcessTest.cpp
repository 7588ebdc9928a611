// Doravel.exe as a process: single instance, its loop, its exit.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/ModuleDirectory.h"

namespace {

// A started Doravel.exe; killed if a test leaves it running.
class DoravelProcess {
 public:
  DoravelProcess() {
    std::wstring command = L"\"" + base::GetCurrentModuleDirectory() + L"Doravel.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    started_ = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_);
  }
  ~DoravelProcess() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }

  bool started() const { return started_; }
  bool WaitUntilIdle() { return WaitForInputIdle(info_.hProcess, 20000) == 0; }
  bool HasExited(DWORD timeout_ms) { return WaitForSingleObject(info_.hProcess, timeout_ms) == WAIT_OBJECT_0; }
  bool PostQuit() { return PostThreadMessageW(info_.dwThreadId, WM_QUIT, 0, 0) != FALSE; }
  DWORD ExitCode() {
    DWORD code = 12345;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

TEST(DoravelProcess, SecondInstanceLeavesAtOnceAndTheFirstEndsCleanlyOnQuit) {
  DoravelProcess first;
  ASSERT_TRUE(first.started());
  ASSERT_TRUE(first.WaitUntilIdle()) << "the first instance never reached its message loop";

  DoravelProcess second;
  ASSERT_TRUE(second.started());
  ASSERT_TRUE(second.HasExited(20000));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_FALSE(first.HasExited(0)) << "the first instance was disturbed";

  ASSERT_TRUE(first.PostQuit());
  ASSERT_TRUE(first.HasExited(20000));
  EXPECT_EQ(first.ExitCode(), 0u);
}

}  // namespace
