// Kelvane's one logging call, usable from any thread.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <memory>

// Trace levels.
constexpr int kTraceInfo = 0;
constexpr int kTraceNormal = 1;
constexpr int kTraceWarning = 2;
constexpr int kTraceError = 3;
constexpr int kTraceDebug = 4;

// The message that carries a line to the console: wParam = level, lParam = the text,
// allocated with malloc and posted through PostedObjects; the receiver takes it back there.
constexpr UINT WM_TRACE_LINE = WM_USER + 1;

struct TraceLineDeleter {
  void operator()(wchar_t* text) const { free(text); }
};
using TraceLine = std::unique_ptr<wchar_t, TraceLineDeleter>;

// Formats the line (wide %s, as _vsnwprintf; at most 32766 characters, longer text is cut)
// and posts it to the trace console. False, and the line is lost, when there is no console
// yet or the post fails.
bool TraceMessage(int level, const wchar_t* format, ...);

// The console window that receives the lines; null until the trace dialog sets it.
void SetTraceConsoleWindow(HWND console);
HWND GetTraceConsoleWindow();
