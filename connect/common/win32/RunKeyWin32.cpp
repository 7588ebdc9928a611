#include "RunKeyWin32.h"

#include <windows.h>

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const DWORD kMaxValueBytes = 64 * 1024;

HKEY open_run_key(REGSAM access)
{
    HKEY key = nullptr;
    const LSTATUS status = (access & KEY_SET_VALUE)
        ? RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, access, nullptr, &key, nullptr)
        : RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, access, &key);
    return status == ERROR_SUCCESS ? key : nullptr;
}

} // namespace

bool run_value_read(const wchar_t *name, std::wstring *value)
{
    HKEY key = open_run_key(KEY_QUERY_VALUE);
    if (!key)
        return false;
    DWORD type = 0;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
    bool found = status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) && size <= kMaxValueBytes;
    if (found) {
        // The stored data need not end with a NUL; room for one more character.
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(&text[0]), &size);
        found = status == ERROR_SUCCESS;
        if (found) {
            text.resize(size / sizeof(wchar_t));
            *value = text.substr(0, text.find(L'\0'));
        }
    }
    RegCloseKey(key);
    return found;
}

bool run_value_write(const wchar_t *name, const std::wstring &value)
{
    HKEY key = open_run_key(KEY_SET_VALUE);
    if (!key)
        return false;
    const DWORD bytes = DWORD((value.size() + 1) * sizeof(wchar_t));
    const LSTATUS status =
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()), bytes);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool run_value_delete(const wchar_t *name)
{
    HKEY key = open_run_key(KEY_SET_VALUE);
    if (!key)
        return false;
    const LSTATUS status = RegDeleteValueW(key, name);
    RegCloseKey(key);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
