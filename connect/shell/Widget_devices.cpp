// Device discovery of the main window: the start-up scan and hot-plug.
#include "Widget.h"

#include "DeviceNotifications.h"
#include "common/DeviceIdentity.h"
#include "common/HidBus.h"
#include "devices/SupportedModels.h"
#include "m_Devlist.h"
#include "m_Navibar.h"

#include <QDebug>
#include <QStackedWidget>

namespace {

// Notification names and enumeration paths alike: cut after the class GUID, lower case.
QString device_name_of(const QString &interface_path)
{
    return device_path_of(interface_path).toLower();
}

bool is_config_interface(const QString &device_path, const SupportedModel &row)
{
    return device_path.contains(row.match_id) && device_path.contains(row.config_interface);
}

} // namespace

void Widget::register_device_notifications()
{
    m_notifications = new DeviceNotifications(this);
    connect(m_notifications, &DeviceNotifications::arrived, this, &Widget::device_arrived);
    connect(m_notifications, &DeviceNotifications::removed, this, &Widget::device_removed);
    long error = 0;
    if (!m_notifications->start(&error))
        qDebug() << "注册失败:" << error;
}

void Widget::scan_devices()
{
    m_notifications->refresh_at_start();
    m_Devlist *devices = m_navibar->devlist();
    for (const SupportedModel &row : supported_models) {
        for (const HidInterface &entry : HidBus::attached(row.vid, row.pid)) {
            if (!entry.path.contains(row.config_interface))
                continue;
            qDebug() << "Device Found" << QString::number(entry.vendor_id, 16).rightJustified(4, '0')
                     << QString::number(entry.product_id, 16).rightJustified(4, '0') << entry.path
                     << entry.serial_number;
            const QString path = device_name_of(entry.path);
            const QString sn = serial_key_of(path, row.config_interface);
            qDebug() << "add: " << path << " sn:" << sn << "\n";
            if (!devices->has_dev(path, sn))
                devices->add_dev(path, QString(), sn, row.icon, row.icon_hover, row.product_name);
        }
    }
}

#ifdef Q_OS_WIN
bool Widget::nativeEvent(const QByteArray &eventType, void *message, long *result)
{
    Q_UNUSED(eventType)
    Q_UNUSED(result)
    m_notifications->handle_native_message(message);
    return false;
}
#endif

void Widget::device_arrived(const QString &interface_path)
{
    const QString name = device_name_of(interface_path);
    for (const SupportedModel &row : supported_models) {
        if (!is_config_interface(name, row))
            continue;
        qDebug() << name << "plug in /n";
        const QString sn = serial_key_of(name, row.config_interface);
        qDebug() << "device sn=" << sn << "/n";
        if (!m_navibar->devlist()->has_dev(name, sn))
            m_navibar->devlist()->add_dev(name, QString(), sn, row.icon, row.icon_hover, row.product_name);
    }
}

void Widget::device_removed(const QString &interface_path)
{
    const QString name = device_name_of(interface_path);
    for (const SupportedModel &row : supported_models) {
        if (!is_config_interface(name, row))
            continue;
        const QString sn = serial_key_of(name, row.config_interface);
        qDebug() << "del dev:" << name << " device sn= " << sn << "/n" << m_currentDevicePath;
        if (m_pages->count() > Page_Device && name == m_currentDevicePath) {
            if (m_pages->currentIndex() == Page_Device) {
                m_pages->setCurrentIndex(Page_Welcome);
                m_navibar->show();
            }
            m_savedPageIndex = Page_Welcome;
            m_pages->widget(Page_Device)->deleteLater();
        }
        m_navibar->devlist()->del_dev(name, sn);
    }
}
