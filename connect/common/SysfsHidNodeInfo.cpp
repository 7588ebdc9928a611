#include "HidNodeInfo.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace {

QByteArray read_file(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString phys_from_uevent(const QByteArray &uevent)
{
    for (const QByteArray &line : uevent.split('\n'))
        if (line.startsWith("HID_PHYS="))
            return QString::fromUtf8(line.mid(int(qstrlen("HID_PHYS="))));
    return QString();
}

} // namespace

bool hid_node_info(const char *node, HidNodeInfo *info)
{
    const QString device = "/sys/class/hidraw/" + QFileInfo(QString::fromUtf8(node)).fileName() + "/device/";
    const QByteArray uevent = read_file(device + "uevent");
    if (uevent.isEmpty()) {
        qDebug() << "HidNodeInfo no sysfs entry for" << node;
        return false;
    }
    info->physical_path = phys_from_uevent(uevent);
    info->report_descriptor = read_file(device + "report_descriptor");
    return true;
}

void hid_node_collection(hid_device_ *, int)
{
    // hidraw passes every report of the node to the device, whatever its collection.
}
