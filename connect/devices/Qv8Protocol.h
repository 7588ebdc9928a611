#pragma once
// The QV8 receiver's configuration reports. An output report is 33 bytes: report id
// 0x01, the command, its parameters, the CRC over command and parameters, then zeros.
// A reply is read into 32 bytes; its value starts at byte 2.
#include <QByteArray>
#include <QString>

#include <optional>

namespace qv8 {

constexpr int kReportLength = 33;
constexpr int kReplyLength = 32;
constexpr int kReplyTimeoutMs = 100;

// The settings that have a query and a set command. Choice ids are those of the page's
// button groups: 0/1 for the three switches, 0 = 1200, 1 = 1600, 2 = 2400 dpi.
enum class Setting { MainButton, WheelDirection, PowerOnState, Dpi };

QByteArray version_query();
QByteArray query(Setting setting);
// For the switches any id but 0 means choice 1; a DPI id outside 0..2 counts as the
// nearest choice.
QByteArray set_command(Setting setting, int id);
QByteArray restore_defaults();

// A reply holds only the bytes actually read. Each reader gives nothing when the
// reply is too short to hold its value.
std::optional<int> choice_in_reply(const QByteArray &reply);
std::optional<int> dpi_in_reply(const QByteArray &reply);
// The version text: reply bytes 2 to 7 as Latin-1 up to the first zero byte;
// "V1.0.0" when the reply holds no version byte.
QString version_in_reply(const QByteArray &reply);

// The DPI choice a measured value falls into.
int dpi_choice(int dpi);

} // namespace qv8
