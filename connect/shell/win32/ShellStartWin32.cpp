#include "ShellStartWin32.h"

#include <windows.h>
#include <shellapi.h>

bool shell_start(const wchar_t *path)
{
    SHELLEXECUTEINFOW info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;  // a failure is the caller's to report, no error box
    info.lpVerb = L"open";
    info.lpFile = path;
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}
