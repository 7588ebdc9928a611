#include "WindowMove.h"

#include <QWidget>

#ifdef Q_OS_WIN
#include "win32/CaptionDragWin32.h"
#else
#include <QWindow>
#endif

bool start_window_move(QWidget *window)
{
#ifdef Q_OS_WIN
    return start_caption_drag(reinterpret_cast<void *>(window->winId()));
#else
    QWindow *handle = window->windowHandle();
    return handle && handle->startSystemMove();
#endif
}
