// Skivra, the skinned-window library: start-up and the message box.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Starts GDI+ for the skin's drawing; the first call does the work, later ones return TRUE.
BOOL InitSkivra();

// Shows the formatted text (wide %s, as _vsnwprintf) in a top-most box and waits for OK.
int SkinMessageBox(const wchar_t* format, ...);

// Tests: while set, SkinMessageBox hands its text to the hook instead of showing it.
using SkinMessageBoxHook = std::function<void(const std::wstring& text)>;
void SetSkinMessageBoxHook(SkinMessageBoxHook hook);
