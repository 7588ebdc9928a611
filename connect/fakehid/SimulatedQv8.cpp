#include "SimulatedQv8.h"

#include "devices/Qv8Crc.h"

#include <algorithm>

namespace simulated {
namespace {

constexpr std::size_t kReportLength = 33;
constexpr std::uint8_t kDpiSet = 0x84;

std::optional<fakehid::Bytes> reject(const std::string &reason)
{
    fakehid::note("qv8 rejected: " + reason);
    return std::nullopt;
}

// Command and parameters: four bytes for the DPI set, two for every other command.
std::size_t checked_length(std::uint8_t command)
{
    return command == kDpiSet ? 4 : 2;
}

// The switches' set commands: 0x40 set means choice 1.
int switch_choice(std::uint8_t command)
{
    return (command & 0x40) ? 1 : 0;
}

fakehid::Bytes reply(const Qv8State &state, std::uint8_t command, const fakehid::Bytes &value)
{
    fakehid::Bytes bytes(32, 0);
    bytes[0] = 0x01;
    bytes[1] = command;
    std::copy(value.begin(), value.end(), bytes.begin() + 2);
    bytes.resize(std::min(state.reply_length, bytes.size()));
    return bytes;
}

fakehid::Bytes version_bytes(const std::string &version)
{
    fakehid::Bytes bytes(6, 0);
    std::copy_n(version.begin(), std::min<std::size_t>(version.size(), 6), bytes.begin());
    return bytes;
}

// Queries answer; sets change the state and answer nothing.
std::optional<fakehid::Bytes> execute(Qv8State &state, const fakehid::Bytes &report)
{
    const std::uint8_t command = report[1];
    const auto answer = [&](const fakehid::Bytes &value) -> std::optional<fakehid::Bytes> {
        if (!state.answers)
            return std::nullopt;
        return reply(state, command, value);
    };
    switch (command) {
    case 0x02: return answer(version_bytes(state.version));
    case 0x87: return answer({std::uint8_t(state.main_button)});
    case 0x86: return answer({std::uint8_t(state.wheel_direction)});
    case 0x88: return answer({std::uint8_t(state.power_on_state)});
    case 0x44: return answer({std::uint8_t(state.dpi >> 8), std::uint8_t(state.dpi)});
    case 0x07: case 0x47: state.main_button = switch_choice(command); return std::nullopt;
    case 0x06: case 0x46: state.wheel_direction = switch_choice(command); return std::nullopt;
    case 0x08: case 0x48: state.power_on_state = switch_choice(command); return std::nullopt;
    case 0x09:
        state.main_button = state.wheel_direction = state.power_on_state = 0;
        state.dpi = 1200;
        return std::nullopt;
    case kDpiSet:
        if (report[2] != 0x08)
            return reject("unknown DPI form");
        state.dpi = report[3] | report[4] << 8;
        return std::nullopt;
    default: return reject("unknown command");
    }
}

} // namespace

std::function<std::optional<fakehid::Bytes>(const fakehid::Bytes &)> qv8_receiver(std::shared_ptr<Qv8State> state)
{
    return [state](const fakehid::Bytes &report) -> std::optional<fakehid::Bytes> {
        if (report.size() != kReportLength)
            return reject("length " + std::to_string(report.size()));
        if (report[0] != 0x01)
            return reject("report id " + std::to_string(report[0]));
        const std::size_t length = checked_length(report[1]);
        if (qv8::crc8(report.data() + 1, length) != report[1 + length])
            return reject("crc");
        return execute(*state, report);
    };
}

} // namespace simulated
