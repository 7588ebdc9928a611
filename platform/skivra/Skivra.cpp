#include "skivra/Skivra.h"

#include <gdiplus.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

std::mutex g_hookLock;
SkinMessageBoxHook g_hook;

}  // namespace

BOOL InitSkivra() {
  static const Gdiplus::Status status = [] {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    // GDI+ stays up for the life of the process, like the skin library it stands for.
    return Gdiplus::GdiplusStartup(&token, &input, nullptr);
  }();
  return status == Gdiplus::Ok;
}

int SkinMessageBox(const wchar_t* format, ...) {
  wchar_t text[1024];
  va_list args;
  va_start(args, format);
  const int length = _vsnwprintf(text, _countof(text) - 1, format, args);
  va_end(args);
  text[length < 0 ? _countof(text) - 1 : length] = L'\0';

  SkinMessageBoxHook hook;
  {
    std::lock_guard<std::mutex> lock(g_hookLock);
    hook = g_hook;
  }
  if (hook) {
    hook(text);
    return IDOK;
  }
  return MessageBoxW(nullptr, text, L"Kelvane", MB_OK | MB_TOPMOST | MB_SETFOREGROUND);
}

void SetSkinMessageBoxHook(SkinMessageBoxHook hook) {
  std::lock_guard<std::mutex> lock(g_hookLock);
  g_hook = std::move(hook);
}
