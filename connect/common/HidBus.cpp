#include "HidBus.h"

#include "HidNodeInfo.h"
#include "ReportDescriptor.h"

#include <hidapi/hidapi.h>

#include <QCryptographicHash>
#include <QHash>
#include <QDebug>
#include <QRegularExpression>

#include <algorithm>

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

// What a path opens, whatever its letter case and instance number: on Windows one record per
// collection, so the collection counts; a hidraw node serves every collection of its interface.
QString opened_identity(const QString &path)
{
    static const QRegularExpression instance(QStringLiteral("&0&[0-9a-f]{4}#"));
    QString identity = path.toLower().replace(instance, QStringLiteral("#"));
#ifndef Q_OS_WIN
    static const QRegularExpression collection(QStringLiteral("&col[0-9a-f]{2}"));
    identity.remove(collection);
#endif
    return identity;
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

struct Snapshot {
    QList<HidInterface> interfaces;
    QHash<QByteArray, HidNodeInfo> node_facts;  // per hidapi node, as last read
    bool nodes_left_out = false;
};

Snapshot &snapshot()
{
    static Snapshot instance;
    return instance;
}

#ifndef Q_OS_WIN
// The node's facts, or those read at an earlier refresh when the system cannot say now.
bool facts_of(const char *node, HidNodeInfo *info)
{
    if (hid_node_info(node, info))
        return true;
    const auto known = snapshot().node_facts.constFind(QByteArray(node));
    if (known == snapshot().node_facts.constEnd())
        return false;
    qDebug() << "HidBus facts of" << node << "unreadable, keeping the known ones";
    *info = *known;
    return true;
}

void append_interfaces(const hid_device_info *record, const HidNodeInfo &info, QList<HidInterface> *interfaces)
{
    const int collections = top_level_collections(info.report_descriptor);
    if (collections <= 1) {
        interfaces->append(make_interface(record, 0, info.physical_path));
        return;
    }
    for (int collection = 1; collection <= collections; ++collection)
        interfaces->append(make_interface(record, collection, info.physical_path));
}

// hidapi answers null both for no device and for a failure; a node known to be attached
// that the system still lists tells the two apart.
bool enumeration_failed()
{
    const QList<QByteArray> nodes = snapshot().node_facts.keys();
    return std::any_of(nodes.begin(), nodes.end(), [](const QByteArray &node) {
        HidNodeInfo info;
        return hid_node_info(node.constData(), &info);
    });
}

// Node numbers are reused: the node must still be the device the list saw there.
bool still_serves(const QByteArray &node)
{
    HidNodeInfo now;
    const HidNodeInfo known = snapshot().node_facts.value(node);
    return hid_node_info(node.constData(), &now) && now.physical_path == known.physical_path
        && now.report_descriptor == known.report_descriptor;
}
#else
// Windows keeps no node facts: an empty answer cannot be told from a failure.
bool enumeration_failed()
{
    return false;
}

// A record path names one device for good; opening it fails once the device is gone.
bool still_serves(const QByteArray &)
{
    return true;
}
#endif

struct Enumeration {
    bool ok = false;
    QList<HidInterface> interfaces;
    QHash<QByteArray, HidNodeInfo> node_facts;
    bool nodes_left_out = false;
};

Enumeration enumerate_all()
{
    Enumeration result;
    hid_device_info *list = hid_enumerate(0, 0);
    if (!list && enumeration_failed()) {
        qDebug() << "HidBus enumeration failed";
        return result;
    }
    result.ok = true;
    for (const hid_device_info *record = list; record; record = record->next) {
#ifdef Q_OS_WIN
        // hidapi already reports device-interface paths, one per collection.
        HidInterface entry = make_interface(record, 0, QString());
        entry.path = QString::fromUtf8(record->path);
        result.interfaces.append(entry);
#else
        HidNodeInfo info;
        if (!facts_of(record->path, &info)) {
            qDebug() << "HidBus no facts of" << record->path << "yet, left out";
            result.nodes_left_out = true;
            continue;
        }
        result.node_facts.insert(QByteArray(record->path), info);
        append_interfaces(record, info, &result.interfaces);
#endif
    }
    hid_free_enumeration(list);
    return result;
}

#ifndef Q_OS_WIN
// The "&colNN" of a path, 0 when it names no collection.
int collection_of(const QString &path)
{
    static const QRegularExpression collection(QStringLiteral("&col([0-9a-f]{2})"));
    const QRegularExpressionMatch match = collection.match(path.toLower());
    return match.hasMatch() ? match.captured(1).toInt(nullptr, 16) : 0;
}
#endif

// The node (on Windows the record) a path opens.
QByteArray node_of(const QList<HidInterface> &interfaces, const QString &path)
{
    const QString wanted = opened_identity(path);
    for (const HidInterface &entry : interfaces)
        if (opened_identity(entry.path) == wanted)
            return entry.node;
    return QByteArray();
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

bool refresh()
{
    Enumeration found = enumerate_all();
    if (!found.ok)
        return false;
    snapshot().interfaces = std::move(found.interfaces);
    snapshot().node_facts = std::move(found.node_facts);
    snapshot().nodes_left_out = found.nodes_left_out;
    return true;
}

bool nodes_left_out()
{
    return snapshot().nodes_left_out;
}

QList<HidInterface> attached(quint16 vendor_id, quint16 product_id)
{
    QList<HidInterface> matching;
    for (const HidInterface &entry : snapshot().interfaces)
        if ((!vendor_id || entry.vendor_id == vendor_id) && (!product_id || entry.product_id == product_id))
            matching.append(entry);
    return matching;
}

hid_device *open_path(const QString &path)
{
    const QByteArray known = node_of(snapshot().interfaces, path);
    const bool tried = !known.isEmpty() && still_serves(known);
    hid_device *device = tried ? hid_open_path(known.constData()) : nullptr;
    if (!device) {
        const QByteArray current = node_of(enumerate_all().interfaces, path);
        if (!current.isEmpty() && !(tried && current == known))
            device = hid_open_path(current.constData());
    }
    if (!device) {
        qDebug() << "HidBus no attached device for" << path;
        return nullptr;
    }
#ifndef Q_OS_WIN
    hid_node_collection(device, collection_of(path));
#endif
    return device;
}

} // namespace HidBus
