#include "DeviceNotifications.h"

#include "common/HidBus.h"

#include <QSet>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <libudev.h>

#include <cerrno>

struct DeviceMonitor {
    udev *context = nullptr;
    udev_monitor *monitor = nullptr;

    ~DeviceMonitor()
    {
        if (monitor)
            udev_monitor_unref(monitor);
        if (context)
            udev_unref(context);
    }
};

namespace {

constexpr int kRetries = 10;
constexpr int kRetryMs = 200;

QSet<QString> attached_paths()
{
    QSet<QString> paths;
    for (const HidInterface &entry : HidBus::attached())
        paths.insert(entry.path);
    return paths;
}

QStringList sorted(const QSet<QString> &paths)
{
    QStringList list(paths.begin(), paths.end());
    list.sort();
    return list;
}

} // namespace

DeviceNotifications::DeviceNotifications(QWidget *window)
    : QObject(window)
    , m_retryTimer(new QTimer(this))
    , m_window(window)
    , m_monitor(new DeviceMonitor)
{
    m_retryTimer->setSingleShot(true);
    m_retryTimer->setInterval(kRetryMs);
    connect(m_retryTimer, &QTimer::timeout, this, &DeviceNotifications::announce_changes);
}

DeviceNotifications::~DeviceNotifications() = default;

bool DeviceNotifications::start(long *error)
{
    m_monitor->context = udev_new();
    if (m_monitor->context)
        m_monitor->monitor = udev_monitor_new_from_netlink(m_monitor->context, "udev");
    if (!m_monitor->monitor
        || udev_monitor_filter_add_match_subsystem_devtype(m_monitor->monitor, "hidraw", nullptr) < 0
        || udev_monitor_enable_receiving(m_monitor->monitor) < 0) {
        *error = errno;
        return false;
    }
    auto *notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor->monitor), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        while (udev_device *device = udev_monitor_receive_device(m_monitor->monitor))
            udev_device_unref(device);
        rescan();
    });
    return true;
}

void DeviceNotifications::rescan()
{
    m_retriesLeft = kRetries;
    announce_changes();
}

void DeviceNotifications::refresh_at_start()
{
    m_retriesLeft = kRetries;
    retry_if_incomplete(HidBus::refresh());
}

// A failed enumeration changes nothing: the next one compares with the last good one.
void DeviceNotifications::announce_changes()
{
    const QSet<QString> before = attached_paths();
    const bool refreshed = HidBus::refresh();
    if (refreshed) {
        const QSet<QString> now = attached_paths();
        for (const QString &path : sorted(QSet<QString>(before).subtract(now)))
            emit removed(path);
        for (const QString &path : sorted(QSet<QString>(now).subtract(before)))
            emit arrived(path);
    }
    retry_if_incomplete(refreshed);
}

void DeviceNotifications::retry_if_incomplete(bool refreshed)
{
    if ((!refreshed || HidBus::nodes_left_out()) && m_retriesLeft-- > 0)
        m_retryTimer->start();
}
