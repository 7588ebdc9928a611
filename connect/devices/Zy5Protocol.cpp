#include "Zy5Protocol.h"

#include <algorithm>
#include <initializer_list>

namespace zy5 {
namespace {

constexpr std::uint8_t kCommandReportId = 0x4D;
constexpr std::uint8_t kMacroReportId = 0x57;

enum Command : std::uint8_t {
    ReadLighting = 0xA0,
    WriteLighting = 0xA1,
    ReadAssignment = 0xB0,
    WriteAssignment = 0xB1,
    WriteDpi = 0xC1,
    ReadDpi = 0xC2,
    WriteReportRate = 0xC3,
    ReadReportRate = 0xC4,
    RestoreFactory = 0xEE,
    ReadMacro = 0xF0,
    WriteMacro = 0xF1,
};

// A zeroed report of the given length: report id, then the bytes given.
QByteArray report(int length, std::uint8_t report_id, std::initializer_list<std::uint8_t> command_and_parameters)
{
    QByteArray bytes(length, '\0');
    bytes[0] = char(report_id);
    std::copy(command_and_parameters.begin(), command_and_parameters.end(), bytes.begin() + 1);
    return bytes;
}

QByteArray command(std::initializer_list<std::uint8_t> command_and_parameters)
{
    return report(kCommandReportLength, kCommandReportId, command_and_parameters);
}

std::uint8_t at(const QByteArray &reply, int index)
{
    return std::uint8_t(reply.at(index));
}

void put_event(QByteArray &bytes, int offset, const MacroEvent &event)
{
    bytes[offset] = char(event.usage);
    bytes[offset + 1] = char(event.action);
    bytes[offset + 2] = char(event.delay_ms & 0xFF);
    bytes[offset + 3] = char(event.delay_ms >> 8);
}

MacroEvent event_at(const QByteArray &reply, int offset)
{
    return {at(reply, offset), at(reply, offset + 1), std::uint16_t(at(reply, offset + 2) | at(reply, offset + 3) << 8)};
}

} // namespace

QByteArray read_lighting() { return command({ReadLighting}); }

QByteArray write_lighting(const Lighting &lighting)
{
    return command({WriteLighting, 0x00, lighting.effect, lighting.frequency, 0x08, 0x00, lighting.red, lighting.green,
                    lighting.blue});
}

QByteArray read_dpi() { return command({ReadDpi}); }

QByteArray write_dpi(const DpiSettings &dpi)
{
    const auto &level = dpi.levels;
    return command({WriteDpi, level[0], level[1], level[2], level[3], level[4], dpi.current_level, dpi.aim,
                    dpi.level_count_index});
}

QByteArray read_report_rate() { return command({ReadReportRate}); }
QByteArray write_report_rate(std::uint8_t rate_code) { return command({WriteReportRate, rate_code}); }
QByteArray restore_factory_settings() { return command({RestoreFactory}); }

QByteArray read_assignment(std::uint8_t button) { return command({ReadAssignment, button}); }

QByteArray assign_function(std::uint8_t button, std::uint8_t function_id)
{
    return command({WriteAssignment, button, MouseFunction, function_id});
}

QByteArray assign_preset_keys(std::uint8_t button, std::uint8_t preset_index)
{
    return command({WriteAssignment, button, KeyCombination, preset_index});
}

QByteArray assign_custom_keys(std::uint8_t button, std::uint8_t modifiers, std::uint8_t key_usage)
{
    return command({WriteAssignment, button, KeyCombination, 0x00, modifiers, key_usage});
}

QByteArray assign_macro(std::uint8_t button, bool record_delay, std::uint8_t event_count)
{
    return command({WriteAssignment, button, Macro, std::uint8_t(record_delay ? 1 : 0), event_count});
}

QByteArray assign_as_read(std::uint8_t button, const ButtonAssignment &assignment)
{
    return command({WriteAssignment, button, assignment.type, assignment.sub, assignment.modifiers,
                    assignment.key_usage});
}

std::optional<std::vector<QByteArray>> macro_event_reports(std::uint8_t button, const std::vector<MacroEvent> &events)
{
    if (events.size() > std::size_t(kMaxMacroEvents))
        return std::nullopt;
    std::vector<QByteArray> reports;
    for (int first = 0; first < int(events.size()); first += kEventsPerReport) {
        const int count = std::min(int(events.size()) - first, kEventsPerReport);
        QByteArray bytes = report(kMacroReportLength, kMacroReportId,
                                  {WriteMacro, button, std::uint8_t(count), std::uint8_t(first)});
        for (int i = 0; i < count; ++i)
            put_event(bytes, 5 + 4 * i, events[std::size_t(first + i)]);
        reports.push_back(bytes);
    }
    return reports;
}

QByteArray read_macro_events(std::uint8_t button, int first, int count)
{
    return report(kMacroReportLength, kMacroReportId, {ReadMacro, button, std::uint8_t(count), std::uint8_t(first)});
}

std::optional<Lighting> lighting_in_reply(const QByteArray &reply)
{
    if (reply.size() < 11)
        return std::nullopt;
    return Lighting{at(reply, 4), at(reply, 5), at(reply, 8), at(reply, 9), at(reply, 10)};
}

std::optional<DpiSettings> dpi_in_reply(const QByteArray &reply)
{
    if (reply.size() < 11)
        return std::nullopt;
    DpiSettings dpi;
    for (int k = 0; k < 5; ++k)
        dpi.levels[std::size_t(k)] = at(reply, 3 + k);
    dpi.current_level = at(reply, 8);
    dpi.aim = at(reply, 9);
    dpi.level_count_index = at(reply, 10);
    return dpi;
}

std::optional<std::uint8_t> report_rate_in_reply(const QByteArray &reply)
{
    if (reply.size() < 4)
        return std::nullopt;
    return at(reply, 3);
}

std::optional<ButtonAssignment> assignment_in_reply(const QByteArray &reply)
{
    if (reply.size() < 8)
        return std::nullopt;
    return ButtonAssignment{at(reply, 4), at(reply, 5), at(reply, 6), at(reply, 7)};
}

std::optional<std::vector<MacroEvent>> macro_events_in_reply(const QByteArray &reply, int count)
{
    if (reply.size() < 6 + 4 * count)
        return std::nullopt;
    std::vector<MacroEvent> events;
    for (int i = 0; i < count; ++i)
        events.push_back(event_at(reply, 6 + 4 * i));
    return events;
}

} // namespace zy5
