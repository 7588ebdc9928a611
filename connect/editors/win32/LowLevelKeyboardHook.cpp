#include "LowLevelKeyboardHook.h"

#include "editors/KeyCapture.h"

#include <windows.h>

namespace {

LRESULT CALLBACK low_level_keyboard_proc(int code, WPARAM message, LPARAM data)
{
    const auto *key = reinterpret_cast<const KBDLLHOOKSTRUCT *>(data);
    const std::uint32_t vkey = code == HC_ACTION ? key->vkCode : 0;
    // The desktop's state before this event: a swallowed press never reaches it.
    const bool down_for_desktop = vkey != 0 && (GetAsyncKeyState(static_cast<int>(vkey)) & 0x8000) != 0;
    if (low_level_key_call(code, message, vkey, down_for_desktop) == HookAnswer::CallNextHook)
        return CallNextHookEx(nullptr, code, message, data);
    return 1;
}

} // namespace

void *install_low_level_keyboard_hook()
{
    return SetWindowsHookExW(WH_KEYBOARD_LL, low_level_keyboard_proc, GetModuleHandleW(nullptr), 0);
}

bool remove_low_level_keyboard_hook(void *hook)
{
    return UnhookWindowsHookEx(static_cast<HHOOK>(hook)) != FALSE;
}
