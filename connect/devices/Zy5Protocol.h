#pragma once
// The ZY5 mouse's reports. Commands travel on the command interface as 32-byte reports
// (report id 0x4D, then the command and its parameters); macro events on the macro
// interface as 64-byte reports (report id 0x57). Unused bytes are zero. A reply carries
// each field one byte later than the matching write puts it.
#include "editors/MacroEvent.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace zy5 {

constexpr int kCommandReportLength = 32;
constexpr int kMacroReportLength = 64;
constexpr int kReplyTimeoutMs = 100;
constexpr int kEventsPerReport = 14;
constexpr int kMaxMacroEvents = 255;  // the count travels in one byte

struct Lighting {
    std::uint8_t effect = 0;     // 0 off, 1 steady, 2 breathing, 3 carousel, 4 shooting, 6 rage
    std::uint8_t frequency = 0;  // 1 to 8
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// Values 1 to 144 stand for value * 50 + 50 dpi.
struct DpiSettings {
    std::array<std::uint8_t, 5> levels{};
    std::uint8_t current_level = 0;       // 0 to 4
    std::uint8_t aim = 0;
    std::uint8_t level_count_index = 0;   // 0 to 4: one to five levels
};

// Report-rate codes.
enum ReportRate : std::uint8_t { Rate1000Hz = 1, Rate500Hz = 2, Rate250Hz = 4, Rate125Hz = 8 };

enum AssignmentType : std::uint8_t { MouseFunction = 0, KeyCombination = 1, Macro = 2 };

// One button's assignment as the device reports it.
struct ButtonAssignment {
    std::uint8_t type = MouseFunction;
    std::uint8_t sub = 0;          // function id, preset index (0: custom keys) or record-delay flag
    std::uint8_t modifiers = 0;    // custom keys: HID modifier bits; macro: event count
    std::uint8_t key_usage = 0;    // custom keys: HID usage
};

QByteArray read_lighting();
QByteArray write_lighting(const Lighting &lighting);
QByteArray read_dpi();
QByteArray write_dpi(const DpiSettings &dpi);
QByteArray read_report_rate();
QByteArray write_report_rate(std::uint8_t rate_code);
QByteArray restore_factory_settings();

// Buttons 2 to 9.
QByteArray read_assignment(std::uint8_t button);
QByteArray assign_function(std::uint8_t button, std::uint8_t function_id);
QByteArray assign_preset_keys(std::uint8_t button, std::uint8_t preset_index);
QByteArray assign_custom_keys(std::uint8_t button, std::uint8_t modifiers, std::uint8_t key_usage);
QByteArray assign_macro(std::uint8_t button, bool record_delay, std::uint8_t event_count);
// Writes back an assignment as it was read.
QByteArray assign_as_read(std::uint8_t button, const ButtonAssignment &assignment);

// The reports that carry a macro's events, 14 to a report, each built afresh; none for
// an empty macro, nothing at all for one longer than kMaxMacroEvents.
std::optional<std::vector<QByteArray>> macro_event_reports(std::uint8_t button, const std::vector<MacroEvent> &events);
// Asks for count (1 to 14) events starting at first.
QByteArray read_macro_events(std::uint8_t button, int first, int count);

// A reply holds only the bytes read; one too short for its fields gives nothing.
std::optional<Lighting> lighting_in_reply(const QByteArray &reply);
std::optional<DpiSettings> dpi_in_reply(const QByteArray &reply);
std::optional<std::uint8_t> report_rate_in_reply(const QByteArray &reply);
std::optional<ButtonAssignment> assignment_in_reply(const QByteArray &reply);
std::optional<std::vector<MacroEvent>> macro_events_in_reply(const QByteArray &reply, int count);

} // namespace zy5
