// Dispatching the test thread's messages while waiting for something to happen.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>

// Dispatches this thread's messages until done() holds; false after the time-out. Wakes for
// each new message and at least every 20 ms, for conditions no message announces.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    const DWORD waited = GetTickCount() - start;
    if (waited >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(timeoutMs - waited, 20),
                              QS_ALLINPUT);
  }
}

// Dispatches this thread's messages for the time.
inline void PumpMessages(DWORD forMs) { PumpUntil([] { return false; }, forMs); }
