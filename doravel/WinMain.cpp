// Doravel, the settings tool of Kelvane.
#include <windows.h>

#include "MainThread.h"

namespace {

// Takes the single-instance mutex for the life of the process. Without a mutex the tool
// runs unprotected.
bool AnotherInstanceIsRunning() {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, L"DORAVELS_MUTEX");
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return true;
  }
  return false;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  if (AnotherInstanceIsRunning()) return 0;
  MainThread main_thread;
  main_thread.RunOnCurrentThreadWithLoop(base::MessageLoop::kUIMessageLoop);
  return 0;
}
