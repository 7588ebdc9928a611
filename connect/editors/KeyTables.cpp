#include "KeyTables.h"

#include <array>
#include <utility>

namespace {

struct KeyRow {
    std::uint8_t vkey;
    std::uint8_t usage;
};

// Single keys; the digit, letter, keypad-digit and F1-F12 runs are added by build_rows().
constexpr KeyRow kSingleKeys[] = {
    {0x08, 0x2A}, {0x09, 0x2B}, {0x0D, 0x28}, {0x13, 0x48}, {0x14, 0x39}, {0x1B, 0x29},
    {0x20, 0x2C}, {0x21, 0x4B}, {0x22, 0x4E}, {0x23, 0x4D}, {0x24, 0x4A}, {0x25, 0x50},
    {0x26, 0x52}, {0x27, 0x4F}, {0x28, 0x51}, {0x2C, 0x46}, {0x2D, 0x49}, {0x2E, 0x4C},
    {0x5B, 0xE3}, {0x5C, 0xE7}, {0x5D, 0x65}, {0x6A, 0x55}, {0x6B, 0x57}, {0x6D, 0x56},
    {0x6E, 0x63}, {0x6F, 0x54}, {0x90, 0x53}, {0x91, 0x47}, {0xA0, 0xE1}, {0xA1, 0xE5},
    {0xA2, 0xE0}, {0xA3, 0xE4}, {0xA4, 0xE2}, {0xA5, 0xE6}, {0xBA, 0x33}, {0xBB, 0x2E},
    {0xBC, 0x36}, {0xBD, 0x2D}, {0xBE, 0x37}, {0xBF, 0x38}, {0xC0, 0x35}, {0xDB, 0x2F},
    {0xDC, 0x31}, {0xDD, 0x30}, {0xDE, 0x34},
    {0xE2, 0x64},  // OEM_102, the ISO key beside left Shift
};

struct KeyMaps {
    std::array<std::uint8_t, 256> usage_of_vkey{};
    std::array<std::uint8_t, 256> vkey_of_usage{};

    void add(unsigned vkey, unsigned usage)
    {
        usage_of_vkey[vkey] = std::uint8_t(usage);
        vkey_of_usage[usage] = std::uint8_t(vkey);
    }
};

KeyMaps build_maps()
{
    KeyMaps maps;
    for (unsigned vkey = 0x31; vkey <= 0x39; ++vkey)  // 1..9
        maps.add(vkey, vkey - 0x13);
    maps.add(0x30, 0x27);
    for (unsigned vkey = 0x41; vkey <= 0x5A; ++vkey)  // A..Z
        maps.add(vkey, vkey - 0x3D);
    for (unsigned vkey = 0x61; vkey <= 0x69; ++vkey)  // keypad 1..9
        maps.add(vkey, vkey - 8);
    maps.add(0x60, 0x62);
    for (unsigned vkey = 0x70; vkey <= 0x7B; ++vkey)  // F1..F12
        maps.add(vkey, vkey - 0x36);
    for (const KeyRow &row : kSingleKeys)
        maps.add(row.vkey, row.usage);
    maps.vkey_of_usage[0x32] = 0xDC;  // non-US # and ~ sits where the backslash key does
    return maps;
}

const KeyMaps &maps()
{
    static const KeyMaps instance = build_maps();
    return instance;
}

const std::pair<std::uint8_t, const char *> kKeyNames[] = {
    {0x00, ""}, {0x6C, ""}, {0xFF, ""},
    {0x08, "BACKSPACE"}, {0x09, "TAB"}, {0x0D, "Enter"}, {0x13, "Pause"}, {0x14, "CAPSLOCK"},
    {0x1B, "ESC"}, {0x20, "SPACE"}, {0x21, "PageUp"}, {0x22, "PageDown"}, {0x23, "END"},
    {0x24, "HOME"}, {0x25, "LEFT"}, {0x26, "UP"}, {0x27, "RIGHT"}, {0x28, "DOWN"},
    {0x2C, "PrtSc"}, {0x2D, "INSERT"}, {0x2E, "DELETE"}, {0x5B, "WIN"}, {0x5C, "RIGHT WIN"},
    {0x5D, "APPS"}, {0x6A, "*"}, {0x6B, "+"}, {0x6D, "-"}, {0x6E, "."}, {0x6F, "/"},
    {0x90, "NUMLOCK"}, {0x91, "ScrollLock"}, {0xA0, "SHIFT"}, {0xA1, "RIGHT SHIFT"},
    {0xA2, "CTRL"}, {0xA3, "RIGHT CTRL"}, {0xA4, "ALT"}, {0xA5, "RIGHT ALT"}, {0xBA, ";"},
    {0xBB, "="}, {0xBC, "<"}, {0xBD, "-"}, {0xBE, ">"}, {0xBF, "/"}, {0xC0, "`"},
    {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"}, {0xE2, "<>"},
};

} // namespace

std::uint8_t vk_to_hid_usage(unsigned vkey)
{
    return maps().usage_of_vkey[vkey & 0xFF];
}

std::uint8_t hid_usage_to_vk(unsigned usage)
{
    return maps().vkey_of_usage[usage & 0xFF];
}

QString vk_key_name(unsigned vkey)
{
    vkey &= 0xFF;
    for (const auto &[code, name] : kKeyNames)
        if (code == vkey)
            return QString::fromLatin1(name);
    if (vkey >= 0x60 && vkey <= 0x69)
        return QStringLiteral("NUMPAD%1").arg(vkey - 0x60);
    if (vkey >= 0x70 && vkey <= 0x87)
        return QStringLiteral("F%1").arg(vkey - 0x6F);
    return QString(QChar(vkey));
}
