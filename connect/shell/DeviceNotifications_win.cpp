#include "DeviceNotifications.h"

#include "win32/DeviceBroadcast.h"
#include "win32/HidNotificationWin32.h"

#include <QWidget>

#include <windows.h>

struct DeviceMonitor {
};

DeviceNotifications::DeviceNotifications(QWidget *window)
    : QObject(window)
    , m_window(window)
{
}

DeviceNotifications::~DeviceNotifications() = default;

bool DeviceNotifications::start(long *error)
{
    unsigned long code = 0;
    if (register_hid_notifications(reinterpret_cast<void *>(m_window->winId()), &code))
        return true;
    *error = long(code);
    return false;
}

void DeviceNotifications::handle_native_message(void *message)
{
    const MSG *msg = static_cast<const MSG *>(message);
    if (msg->message != WM_DEVICECHANGE)
        return;
    const DeviceChange change =
        parse_device_change(msg->wParam, reinterpret_cast<const unsigned char *>(msg->lParam));
    const QString name = QString::fromStdU16String(change.name);
    if (change.kind == DeviceChangeKind::Arrival)
        emit arrived(name);
    else if (change.kind == DeviceChangeKind::Removal)
        emit removed(name);
}
