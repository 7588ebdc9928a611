#include "SimulatedZy5.h"

#include <algorithm>

namespace simulated {
namespace {

constexpr std::uint8_t kCommandId = 0x4D;
constexpr std::uint8_t kMacroId = 0x57;
constexpr std::size_t kCommandLength = 32;
constexpr std::size_t kMacroLength = 64;
constexpr int kEventsPerReport = 14;

using Answer = std::optional<fakehid::Bytes>;

Answer reject(const std::string &reason)
{
    fakehid::note("zy5 rejected: " + reason);
    return std::nullopt;
}

// The bytes a command uses (report id and command included); the rest must be zero.
std::size_t used_length(const fakehid::Bytes &report)
{
    switch (report[1]) {
    case 0xA1: case 0xC1: return 10;
    case 0xB1: return 7;
    case 0xC3: case 0xB0: return 3;
    case 0xF1: return kMacroLength;  // a short last chunk keeps the events of the one before behind its own
    case 0xF0: return 5;
    default: return 2;
    }
}

bool tail_is_zero(const fakehid::Bytes &report)
{
    const std::size_t used = std::min(used_length(report), report.size());
    return std::all_of(report.begin() + long(used), report.end(), [](std::uint8_t byte) { return byte == 0; });
}

// Fields one byte later than the matching write puts them: value i lands at byte 3 + i.
Answer reply(const Zy5State &state, const fakehid::Bytes &request, std::size_t length, std::size_t kept,
             const fakehid::Bytes &fields)
{
    if (!state.answers)
        return std::nullopt;
    fakehid::Bytes bytes(length, 0);
    bytes[0] = request[0];
    bytes[1] = request[1];
    std::copy(fields.begin(), fields.end(), bytes.begin() + 3);
    bytes.resize(std::min(kept, length));
    return bytes;
}

Zy5Button *button_of(Zy5State &state, std::uint8_t id)
{
    const auto it = state.buttons.find(id);
    return it == state.buttons.end() ? nullptr : &it->second;
}

void restore(Zy5State &state)
{
    Zy5State factory;
    factory.answers = state.answers;
    factory.reply_length = state.reply_length;
    factory.macro_reply_length = state.macro_reply_length;
    state = factory;
}

Answer assign(Zy5State &state, const fakehid::Bytes &r)
{
    Zy5Button *button = button_of(state, r[2]);
    if (!button)
        return reject("button " + std::to_string(r[2]));
    if (r[3] > 2)
        return reject("assignment type " + std::to_string(r[3]));
    button->type = r[3];
    button->sub = r[4];
    button->modifiers = r[5];
    button->key_usage = r[6];
    if (button->type == 2)
        button->macro.assign(std::size_t(r[5]) * 4, 0);
    return std::nullopt;
}

Answer execute_command(Zy5State &state, const fakehid::Bytes &r)
{
    switch (r[1]) {
    case 0xA0:
        return reply(state, r, kCommandLength, state.reply_length,
                     {std::uint8_t(0), std::uint8_t(state.effect), std::uint8_t(state.frequency), 0x08, 0x00,
                      std::uint8_t(state.red), std::uint8_t(state.green), std::uint8_t(state.blue)});
    case 0xA1:
        if (r[2] != 0x00 || r[5] != 0x08 || r[6] != 0x00)
            return reject("lighting constants");
        if (r[3] == 5 || r[3] > 6 || r[4] < 1 || r[4] > 8)
            return reject("lighting out of range");
        state.effect = r[3];
        state.frequency = r[4];
        state.red = r[7];
        state.green = r[8];
        state.blue = r[9];
        return std::nullopt;
    case 0xC2: {
        fakehid::Bytes fields;
        for (int level : state.dpi_levels)
            fields.push_back(std::uint8_t(level));
        fields.insert(fields.end(), {std::uint8_t(state.current_level), std::uint8_t(state.aim),
                                     std::uint8_t(state.level_count_index)});
        return reply(state, r, kCommandLength, state.reply_length, fields);
    }
    case 0xC1:
        for (std::size_t k = 0; k < 5; ++k)
            state.dpi_levels[k] = r[2 + k];
        state.current_level = r[7];
        state.aim = r[8];
        state.level_count_index = r[9];
        return std::nullopt;
    case 0xC4: return reply(state, r, kCommandLength, state.reply_length, {std::uint8_t(state.report_rate)});
    case 0xC3:
        if (r[2] != 1 && r[2] != 2 && r[2] != 4 && r[2] != 8)
            return reject("report rate " + std::to_string(r[2]));
        state.report_rate = r[2];
        return std::nullopt;
    case 0xB0: {
        const Zy5Button *button = button_of(state, r[2]);
        if (!button)
            return reject("button " + std::to_string(r[2]));
        return reply(state, r, kCommandLength, state.reply_length,
                     {0x00, std::uint8_t(button->type), std::uint8_t(button->sub), std::uint8_t(button->modifiers),
                      std::uint8_t(button->key_usage)});
    }
    case 0xB1: return assign(state, r);
    case 0xEE: restore(state); return std::nullopt;
    default: return reject("unknown command " + std::to_string(r[1]));
    }
}

Answer execute_macro(Zy5State &state, const fakehid::Bytes &r)
{
    Zy5Button *button = button_of(state, r[2]);
    if (!button)
        return reject("button " + std::to_string(r[2]));
    const std::size_t count = r[3];
    const std::size_t first = r[4];
    if (count < 1 || count > kEventsPerReport)
        return reject("event count " + std::to_string(count));
    fakehid::Bytes &macro = button->macro;
    if (r[1] == 0xF1) {
        macro.resize(std::max(macro.size(), (first + count) * 4), 0);
        std::copy_n(r.begin() + 5, count * 4, macro.begin() + long(first * 4));
        return std::nullopt;
    }
    if (r[1] != 0xF0)
        return reject("unknown macro command " + std::to_string(r[1]));
    fakehid::Bytes fields(3 + count * 4, 0);  // events start at byte 6
    for (std::size_t i = 0; i < count * 4 && (first * 4 + i) < macro.size(); ++i)
        fields[3 + i] = macro[first * 4 + i];
    return reply(state, r, kMacroLength, state.macro_reply_length, fields);
}

} // namespace

std::map<int, Zy5Button> Zy5State::factory_buttons()
{
    std::map<int, Zy5Button> buttons;
    for (int id = 2; id <= 9; ++id)
        buttons[id].sub = id - 2;
    return buttons;
}

std::function<std::optional<fakehid::Bytes>(const fakehid::Bytes &)> zy5_mouse(std::shared_ptr<Zy5State> state)
{
    return [state](const fakehid::Bytes &report) -> Answer {
        if (report.size() < 2)
            return reject("length " + std::to_string(report.size()));
        const bool command = report[0] == kCommandId;
        if (!command && report[0] != kMacroId)
            return reject("report id " + std::to_string(report[0]));
        if (report.size() != (command ? kCommandLength : kMacroLength))
            return reject("length " + std::to_string(report.size()));
        if (!tail_is_zero(report))
            return reject("bytes after the fields");
        return command ? execute_command(*state, report) : execute_macro(*state, report);
    };
}

} // namespace simulated
