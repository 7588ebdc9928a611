#include "Qv8Protocol.h"

#include "Qv8Crc.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>

namespace qv8 {
namespace {

constexpr std::uint8_t kReportId = 0x01;
constexpr std::uint8_t kSwitchOn = 0x40;  // added to a switch's set command for choice 1

struct SettingCommands {
    std::uint8_t query;
    std::uint8_t set;  // choice 0; the switches add kSwitchOn for choice 1
};

// Indexed by Setting. The table is the receiver's contract; the codes follow no bit rule.
constexpr std::array<SettingCommands, 4> kCommands = {{
    {0x87, 0x07},  // main button
    {0x86, 0x06},  // wheel direction
    {0x88, 0x08},  // power-on state
    {0x44, 0x84},  // DPI
}};

constexpr SettingCommands commands_of(Setting setting)
{
    return kCommands[std::size_t(setting)];
}

// The DPI set parameters per choice: 0x08, then the level as little-endian 16 bits.
// Only the 1200 dpi row is known from the receiver; 1600 and 2400 are derived from it.
constexpr std::array<std::array<std::uint8_t, 3>, 3> kDpiSetParameters = {{
    {0x08, 0xB0, 0x04},  // 1200
    {0x08, 0x40, 0x06},  // 1600, derived
    {0x08, 0x60, 0x09},  // 2400, derived
}};

QByteArray report(std::initializer_list<std::uint8_t> command_and_parameters)
{
    QByteArray bytes(kReportLength, '\0');
    bytes[0] = char(kReportId);
    int at = 1;
    for (std::uint8_t byte : command_and_parameters)
        bytes[at++] = char(byte);
    bytes[at] = char(crc8(reinterpret_cast<const std::uint8_t *>(bytes.constData()) + 1, std::size_t(at - 1)));
    return bytes;
}

std::uint8_t byte_at(const QByteArray &bytes, int index)
{
    return std::uint8_t(bytes.at(index));
}

} // namespace

QByteArray version_query()
{
    return report({0x02, 0x01});
}

QByteArray query(Setting setting)
{
    return report({commands_of(setting).query, 0x00});
}

QByteArray set_command(Setting setting, int id)
{
    const std::uint8_t command = commands_of(setting).set;
    if (setting == Setting::Dpi) {
        const auto &parameters = kDpiSetParameters[std::size_t(std::clamp(id, 0, 2))];
        return report({command, parameters[0], parameters[1], parameters[2]});
    }
    return report({std::uint8_t(id == 0 ? command : command + kSwitchOn), 0x00});
}

QByteArray restore_defaults()
{
    return report({0x09, 0x00});
}

std::optional<int> choice_in_reply(const QByteArray &reply)
{
    if (reply.size() < 3)
        return std::nullopt;
    return byte_at(reply, 2);
}

std::optional<int> dpi_in_reply(const QByteArray &reply)
{
    if (reply.size() < 4)
        return std::nullopt;
    return byte_at(reply, 2) * 256 + byte_at(reply, 3);
}

QString version_in_reply(const QByteArray &reply)
{
    if (reply.size() < 3)
        return QStringLiteral("V1.0.0");
    const QByteArray text = reply.mid(2, 6);
    const int end = text.indexOf('\0');
    return QString::fromLatin1(end < 0 ? text : text.left(end));
}

int dpi_choice(int dpi)
{
    if (dpi <= 1200)
        return 0;
    return dpi <= 1600 ? 1 : 2;
}

} // namespace qv8
