#include "DeviceNotifications.h"

#include "common/HidBus.h"
#include "win32/DeviceBroadcast.h"
#include "win32/HidNotificationWin32.h"

#include <QDebug>
#include <QWidget>

// The window's registration for HID interface notices, given back with the object.
struct DeviceMonitor {
    HDEVNOTIFY registration = nullptr;

    ~DeviceMonitor()
    {
        unsigned long error = 0;
        if (registration && !unregister_hid_notifications(registration, &error))
            qDebug() << "device notices cannot be unregistered, error" << error;
    }
};

DeviceNotifications::DeviceNotifications(QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_monitor(new DeviceMonitor)
{
}

DeviceNotifications::~DeviceNotifications() = default;

bool DeviceNotifications::start(long *error)
{
    unsigned long code = 0;
    m_monitor->registration = register_hid_notifications(reinterpret_cast<HWND>(m_window->winId()), &code);
    if (m_monitor->registration)
        return true;
    *error = long(code);
    return false;
}

// Windows' enumeration neither tells a failure apart nor leaves an interface out.
void DeviceNotifications::refresh_at_start()
{
    HidBus::refresh();
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
