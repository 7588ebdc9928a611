#include "HidBus.h"

#include "HidNodeInfo.h"
#include "ReportDescriptor.h"

#include <hidapi/hidapi.h>

#include <QCryptographicHash>
#include <QDebug>
#include <QRegularExpression>

namespace {

const QString kHidClassSuffix = QStringLiteral("#{4d1e55b2-f16f-11cf-88cb-001111000030}");

// The port path without the "/inputN" part, so that all interfaces of one device share it.
QString device_hash(const QString &physical_path)
{
    QString port = physical_path;
    port.remove(QRegularExpression(QStringLiteral("/input\\d+$")));
    return QString::fromLatin1(QCryptographicHash::hash(port.toUtf8(), QCryptographicHash::Md5).toHex().left(8));
}

QString hex4(quint16 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}

// Interface identity without collection and instance, so that sibling collections compare equal.
QString interface_identity(const QString &path)
{
    static const QRegularExpression collection(QStringLiteral("&col[0-9a-f]{2}"));
    static const QRegularExpression instance(QStringLiteral("&0&[0-9a-f]{4}#"));
    return path.toLower().remove(collection).replace(instance, QStringLiteral("#"));
}

QString serial_of(const hid_device_info *record)
{
    return record->serial_number ? QString::fromWCharArray(record->serial_number) : QString();
}

HidInterface make_interface(const hid_device_info *record, int collection, const QString &physical_path)
{
    HidInterface entry;
    entry.path = HidBus::interface_path(record->vendor_id, record->product_id, record->interface_number,
                                        collection, physical_path);
    entry.vendor_id = record->vendor_id;
    entry.product_id = record->product_id;
    entry.serial_number = serial_of(record);
    entry.node = record->path;
    return entry;
}

void append_interfaces(const hid_device_info *record, QList<HidInterface> *interfaces)
{
#ifdef Q_OS_WIN
    // hidapi already reports device-interface paths, one per collection.
    HidInterface entry = make_interface(record, 0, QString());
    entry.path = QString::fromUtf8(record->path);
    interfaces->append(entry);
#else
    HidNodeInfo info;
    if (!hid_node_info(record->path, &info))
        info.physical_path = QString::fromUtf8(record->path);
    const int collections = top_level_collections(info.report_descriptor);
    if (collections <= 1) {
        interfaces->append(make_interface(record, 0, info.physical_path));
        return;
    }
    for (int collection = 1; collection <= collections; ++collection)
        interfaces->append(make_interface(record, collection, info.physical_path));
#endif
}

} // namespace

namespace HidBus {

QString interface_path(quint16 vendor_id, quint16 product_id, int interface_number, int collection,
                       const QString &physical_path)
{
    QString path = QStringLiteral("\\\\?\\hid#vid_") + hex4(vendor_id) + QStringLiteral("&pid_") + hex4(product_id);
    if (interface_number >= 0)
        path += QStringLiteral("&mi_%1").arg(interface_number, 2, 16, QLatin1Char('0'));
    if (collection > 0)
        path += QStringLiteral("&col%1").arg(collection, 2, 16, QLatin1Char('0'));
    const int instance = collection > 0 ? collection - 1 : 0;
    path += QStringLiteral("#7&") + device_hash(physical_path) + QStringLiteral("&0&") + hex4(quint16(instance));
    return path + kHidClassSuffix;
}

QList<HidInterface> enumerate(quint16 vendor_id, quint16 product_id)
{
    QList<HidInterface> interfaces;
    hid_device_info *list = hid_enumerate(vendor_id, product_id);
    for (const hid_device_info *record = list; record; record = record->next)
        append_interfaces(record, &interfaces);
    hid_free_enumeration(list);
    return interfaces;
}

hid_device *open_path(const QString &path)
{
#ifdef Q_OS_WIN
    return hid_open_path(path.toUtf8().constData());
#else
    const QString wanted = interface_identity(path);
    for (const HidInterface &entry : enumerate(0, 0))
        if (interface_identity(entry.path) == wanted)
            return hid_open_path(entry.node.constData());
    qDebug() << "HidBus no attached device for" << path;
    return nullptr;
#endif
}

} // namespace HidBus
