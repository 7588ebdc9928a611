#pragma once
// String values under the current user's Run key,
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run.
#include <string>

// False when the value is absent or not a string.
bool run_value_read(const wchar_t *name, std::wstring *value);
// Creates or replaces a REG_SZ value.
bool run_value_write(const wchar_t *name, const std::wstring &value);
// True also when the value was absent.
bool run_value_delete(const wchar_t *name);
