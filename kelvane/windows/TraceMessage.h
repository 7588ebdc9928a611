// Kelvane's one logging call, usable from any thread.
#pragma once

#include <windows.h>

// Trace levels.
constexpr int kTraceInfo = 0;
constexpr int kTraceNormal = 1;
constexpr int kTraceWarning = 2;
constexpr int kTraceError = 3;
constexpr int kTraceDebug = 4;

// The message that carries a line to the console: wParam = level, lParam = the text,
// allocated with malloc; the receiver frees it.
constexpr UINT WM_TRACE_LINE = WM_USER + 1;

// Formats the line (wide %s, as _vsnwprintf; at most 32766 characters, longer text is cut)
// and posts it to the trace console. False, and the line is lost, when there is no console
// yet or the post fails.
bool TraceMessage(int level, const wchar_t* format, ...);

// The console window that receives the lines; null until the trace dialog sets it.
void SetTraceConsoleWindow(HWND console);
HWND GetTraceConsoleWindow();
