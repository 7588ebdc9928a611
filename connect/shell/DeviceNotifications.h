#pragma once
#include <QObject>
#include <memory>

class QTimer;
class QWidget;
struct DeviceMonitor;

// Arrival and removal notices of HID interfaces, named by their interface paths.
// Windows: the window registers for WM_DEVICECHANGE and passes its native messages in.
// Linux: a udev monitor on "hidraw" triggers HidBus::refresh(); what changed against the
// list before it is announced. A new node whose facts the system could not give yet is
// looked at again a few times after the event, so that it appears without another one.
class DeviceNotifications : public QObject
{
    Q_OBJECT
public:
    explicit DeviceNotifications(QWidget *window);
    ~DeviceNotifications() override;

    // False, with the system's error number, when no notices will arrive.
    bool start(long *error);

#ifdef Q_OS_WIN
    void handle_native_message(void *message);
#else
public slots:
    // Enumerates again and announces the difference to the last list.
    void rescan();
#endif

signals:
    void arrived(const QString &name);
    void removed(const QString &name);

private:
#ifndef Q_OS_WIN
    void announce_changes();

    QTimer *m_retryTimer;
    int m_retriesLeft = 0;
#endif
    QWidget *m_window;
    std::unique_ptr<DeviceMonitor> m_monitor;
};
