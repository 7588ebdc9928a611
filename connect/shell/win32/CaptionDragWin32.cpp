#include "CaptionDragWin32.h"

#include <windows.h>

namespace {
constexpr WPARAM kScMoveByCaption = 0xF012;  // SC_MOVE | HTCAPTION
}

bool start_caption_drag(void *window)
{
    if (!ReleaseCapture())
        return false;
    SendMessageW(static_cast<HWND>(window), WM_SYSCOMMAND, kScMoveByCaption, 0);
    return true;
}
