#include "ShellStartWin32.h"

#include <windows.h>
#include <shellapi.h>

unsigned long shell_start(const wchar_t *path)
{
    SHELLEXECUTEINFOW info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;  // a failure is the caller's to report, no error box
    info.lpVerb = L"open";
    info.lpFile = path;
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info))
        return 0;
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_GEN_FAILURE;
}
