#include "widgets/edit/OnScreenKeyboardManager.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "timing/TimerManager.h"

namespace ui {
namespace {

constexpr wchar_t kKeyboardWindowClass[] = L"IPTip_Main_Window";
constexpr wchar_t kTabTipSuffix[] = L"\\microsoft shared\\ink\\TabTip.exe";
constexpr wchar_t kTabTipFallback[] =
    L"C:\\Program Files\\Common Files\\microsoft shared\\ink\\TabTip.exe";

const CLSID kInputPanelClass = {
    0x4ce576fa, 0x83dc, 0x4f88, {0x95, 0x1c, 0x9d, 0x07, 0x82, 0xb4, 0xe3, 0x76}};
const IID kInputPanelToggle = {
    0x37c994e7, 0x432b, 0x4834, {0xa2, 0xf7, 0xdc, 0xe1, 0xf1, 0x3b, 0x83, 0x4b}};

// The input panel's toggle interface: its first own method shows or hides the panel.
struct ITipInvocation : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Toggle(HWND window) = 0;
};

bool IsWindows8OrLater() {
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  info.dwMajorVersion = 6;
  info.dwMinorVersion = 2;
  info.wServicePackMajor = 0;
  DWORDLONG mask = 0;
  VER_SET_CONDITION(mask, VER_MAJORVERSION, VER_GREATER_EQUAL);
  VER_SET_CONDITION(mask, VER_MINORVERSION, VER_GREATER_EQUAL);
  VER_SET_CONDITION(mask, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
  return VerifyVersionInfoW(&info, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR,
                            mask) != FALSE;
}

bool IsKeyboardShown() {
  HWND keyboard = FindWindowW(kKeyboardWindowClass, nullptr);
  if (!keyboard) return false;
  const LONG style = GetWindowLongW(keyboard, GWL_STYLE);
  return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

}  // namespace

OnScreenKeyboardManager* OnScreenKeyboardManager::GetInstance() {
  static OnScreenKeyboardManager instance;
  return &instance;
}

void OnScreenKeyboardManager::ShowOSK(bool show) {
  static const bool supported = IsWindows8OrLater();
  if (!supported) return;
  show_wanted_ = show;
  TimerManager::GetInstance()->AddTimer(
      GetWeakFlag(), [this] { CheckKeyboard(); }, 10, 1);
}

void OnScreenKeyboardManager::CheckKeyboard() {
  const bool shown = IsKeyboardShown();
  if (shown == show_wanted_) return;
  if (shown) {
    if (HWND keyboard = FindWindowW(kKeyboardWindowClass, nullptr))
      PostMessageW(keyboard, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  ITipInvocation* toggle = nullptr;
  CoCreateInstance(kInputPanelClass, nullptr, CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                   kInputPanelToggle, reinterpret_cast<void**>(&toggle));
  if (!toggle) {
    StartTabTip();
    return;
  }
  toggle->Toggle(GetDesktopWindow());
  toggle->Release();
}

void OnScreenKeyboardManager::StartTabTip() {
  std::wstring path;
  const DWORD size = GetEnvironmentVariableW(L"CommonProgramW6432", nullptr, 0);
  if (size > 0) {
    std::vector<wchar_t> value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"CommonProgramW6432", value.data(), size);
    if (length > 0 && length < size) path.assign(value.data(), length);
  }
  if (!path.empty()) path += kTabTipSuffix;
  if (path.empty()) path = kTabTipFallback;
  ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
}

}  // namespace ui
