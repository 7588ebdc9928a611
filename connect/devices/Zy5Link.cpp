#include "Zy5Link.h"

#include "common/HidBus.h"

#include <hidapi/hidapi.h>

#include <QDebug>

#include <memory>

namespace zy5 {
namespace {

using Handle = std::unique_ptr<hid_device, decltype(&hid_close)>;

Handle open(const QString &path)
{
    Handle handle(HidBus::open_path(path), &hid_close);
    if (!handle)
        qDebug() << "open fail";
    return handle;
}

bool write(hid_device *handle, const QByteArray &report)
{
    const int written =
        hid_write(handle, reinterpret_cast<const unsigned char *>(report.constData()), size_t(report.size()));
    if (written < 0)
        qDebug() << "zy5 write failed";
    return written >= 0;
}

// A fresh buffer per reply, so that nothing of an earlier one is ever taken for it.
std::optional<QByteArray> read_reply(hid_device *handle, int length)
{
    QByteArray reply(length, '\0');
    const int count =
        hid_read_timeout(handle, reinterpret_cast<unsigned char *>(reply.data()), size_t(length), kReplyTimeoutMs);
    if (count <= 0) {
        qDebug() << (count < 0 ? "zy5 read failed" : "zy5 read timed out");
        return std::nullopt;
    }
    return reply.left(count);
}

std::optional<QByteArray> exchange(hid_device *handle, const QByteArray &request)
{
    if (!write(handle, request))
        return std::nullopt;
    return read_reply(handle, request.size());
}

} // namespace

std::optional<QByteArray> ask(const QString &command_path, const QByteArray &request)
{
    const Handle handle = open(command_path);
    if (!handle)
        return std::nullopt;
    return exchange(handle.get(), request);
}

bool tell(const QString &command_path, const QByteArray &request)
{
    const Handle handle = open(command_path);
    return handle && write(handle.get(), request);
}

MacroWrite write_macro(const QString &command_path, const QString &macro_path, std::uint8_t button,
                       bool record_delay, const std::vector<MacroEvent> &events)
{
    const std::optional<std::vector<QByteArray>> reports = macro_event_reports(button, events);
    if (!reports) {
        qDebug() << "zy5 macro refused:" << events.size() << "events";
        return MacroWrite::TooLong;
    }
    Handle handle(nullptr, &hid_close);
    if (!reports->empty() && !(handle = open(macro_path)))
        return MacroWrite::Failed;
    if (!tell(command_path, assign_macro(button, record_delay, std::uint8_t(events.size()))))
        return MacroWrite::Failed;
    for (const QByteArray &report : *reports)
        if (!write(handle.get(), report))
            return MacroWrite::Failed;
    return MacroWrite::Written;
}

std::optional<std::vector<MacroEvent>> read_macro(const QString &macro_path, std::uint8_t button, int count)
{
    std::vector<MacroEvent> events;
    if (count <= 0)
        return events;
    if (count > kMaxMacroEvents)
        return std::nullopt;
    const Handle handle = open(macro_path);
    if (!handle)
        return std::nullopt;
    for (int first = 0; first < count; first += kEventsPerReport) {
        const int asked = std::min(count - first, kEventsPerReport);
        const std::optional<QByteArray> reply = exchange(handle.get(), read_macro_events(button, first, asked));
        const auto part = reply ? macro_events_in_reply(*reply, asked) : std::nullopt;
        if (!part)
            return std::nullopt;
        events.insert(events.end(), part->begin(), part->end());
    }
    return events;
}

} // namespace zy5
