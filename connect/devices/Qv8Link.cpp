#include "Qv8Link.h"

#include "Qv8Protocol.h"
#include "common/HidBus.h"

#include <hidapi/hidapi.h>

#include <QDebug>

#include <memory>

namespace qv8 {
namespace {

using Handle = std::unique_ptr<hid_device, decltype(&hid_close)>;

Handle open(const QString &path)
{
    Handle handle(HidBus::open_path(path), &hid_close);
    if (!handle)
        qDebug() << "open fail\n";
    else
        qDebug() << "open device success\n";
    return handle;
}

// A lost report is not retried; the log tells.
void write(hid_device *handle, const QByteArray &report)
{
    if (hid_write(handle, reinterpret_cast<const unsigned char *>(report.constData()), size_t(report.size())) < 0)
        qDebug() << "qv8 write failed";
}

} // namespace

std::optional<QByteArray> ask(const QString &path, const QByteArray &report)
{
    const Handle handle = open(path);
    if (!handle)
        return std::nullopt;
    write(handle.get(), report);
    QByteArray reply(kReplyLength, '\0');
    const int count = hid_read_timeout(handle.get(), reinterpret_cast<unsigned char *>(reply.data()),
                                       size_t(reply.size()), kReplyTimeoutMs);
    if (count < 0)
        qDebug() << "qv8 read error";
    return reply.left(qMax(count, 0));
}

bool tell(const QString &path, const QByteArray &report)
{
    const Handle handle = open(path);
    if (!handle)
        return false;
    hid_set_nonblocking(handle.get(), 1);
    write(handle.get(), report);
    unsigned char ignored[kReplyLength];
    hid_read(handle.get(), ignored, sizeof ignored);
    return true;
}

} // namespace qv8
