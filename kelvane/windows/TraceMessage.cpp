#include "TraceMessage.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "PostedObjects.h"

namespace {
constexpr size_t kTraceBufferChars = 32767;  // 65534 bytes, terminator included

std::atomic<HWND> g_traceConsole{nullptr};
}  // namespace

void SetTraceConsoleWindow(HWND console) { g_traceConsole = console; }

HWND GetTraceConsoleWindow() { return g_traceConsole; }

bool TraceMessage(int level, const wchar_t* format, ...) {
  const HWND console = g_traceConsole;
  if (console == nullptr || format == nullptr) return false;

  TraceLine text(static_cast<wchar_t*>(malloc(kTraceBufferChars * sizeof(wchar_t))));
  if (text == nullptr) return false;
  va_list args;
  va_start(args, format);
  _vsnwprintf(text.get(), kTraceBufferChars - 1, format, args);
  va_end(args);
  text.get()[kTraceBufferChars - 1] = L'\0';
  return PostedObjects::Post(console, WM_TRACE_LINE, static_cast<WPARAM>(level), std::move(text));
}
