// What of a recognised or translated text may be typed into the user's window.
#pragma once

#include <string>

// The text without its control characters (C0, DEL and C1): typed, they would act as keys
// (Backspace, Escape, Enter...) in the focused window, and a NUL would cut the text.
std::wstring PrintableText(const std::wstring& text);
