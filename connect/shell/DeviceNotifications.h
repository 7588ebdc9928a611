#pragma once
#include <QObject>
#include <memory>

class QTimer;
class QWidget;
struct DeviceMonitor;

// Arrival and removal notices of HID interfaces, named by their interface paths.
// Windows: the window registers for WM_DEVICECHANGE and passes its native messages in.
// Linux: a udev monitor on "hidraw" triggers HidBus::refresh(); what changed against the
// list before it is announced. An enumeration that failed, or left out a new node whose
// facts the system could not give yet, is repeated a few times after the event, so that the
// device appears without another one.
class DeviceNotifications : public QObject
{
    Q_OBJECT
public:
    explicit DeviceNotifications(QWidget *window);
    ~DeviceNotifications() override;

    // False, with the system's error number, when no notices will arrive.
    bool start(long *error);
    // Reads the bus for the start-up scan. On Linux an enumeration that left a node out is
    // repeated as after an event, and what it then finds is announced; a failure is told
    // from an empty bus only against an earlier list, so the first scan's reads as no device.
    void refresh_at_start();

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
    void retry_if_incomplete(bool refreshed);

    QTimer *m_retryTimer;
    int m_retriesLeft = 0;
#endif
    QWidget *m_window;
    std::unique_ptr<DeviceMonitor> m_monitor;
};
