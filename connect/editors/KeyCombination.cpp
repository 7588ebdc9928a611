#include "KeyCombination.h"

#include "KeyTables.h"

namespace {

struct ModifierKey {
    std::uint8_t vkey;
    std::uint8_t bit;
    const char *word;
};

// In display order, which is not bit order: Alt comes before Shift.
constexpr ModifierKey kModifierKeys[] = {
    {0xA2, 0x01, "CTRL+"},        {0xA4, 0x04, "ALT+"},        {0xA0, 0x02, "SHIFT+"},
    {0x5B, 0x08, "WIN+"},         {0xA3, 0x10, "RIGHT CTRL+"}, {0xA5, 0x40, "RIGHT ALT+"},
    {0xA1, 0x20, "RIGHT SHIFT+"}, {0x5C, 0x80, "RIGHT WIN+"},
};

std::uint8_t modifier_bit(std::uint32_t vkey)
{
    for (const ModifierKey &modifier : kModifierKeys)
        if (modifier.vkey == vkey)
            return modifier.bit;
    return 0;
}

} // namespace

QString combination_text(const KeyCombination &combination)
{
    QString text;
    for (const ModifierKey &modifier : kModifierKeys)
        if (combination.modifiers & modifier.bit)
            text += QLatin1String(modifier.word);
    const QString name = vk_key_name(combination.key);
    if (!name.isEmpty())
        text += name;
    else
        text.chop(1);  // the trailing "+"
    return text;
}

bool KeyCombinationCapture::key_event(std::uint32_t vkey, KeyAction action)
{
    if (action == KeyAction::Up) {
        m_keys.release(vkey);
        return false;
    }
    if (!m_keys.press(vkey))
        return false;
    if (const std::uint8_t bit = modifier_bit(vkey)) {
        m_combination.modifiers |= bit;
        return true;
    }
    const std::uint8_t usage = vk_to_hid_usage(vkey);
    if (usage == kNoKey)
        return false;
    m_combination.key = std::uint8_t(vkey);
    m_combination.key_usage = usage;
    return true;
}

void KeyCombinationCapture::load(std::uint8_t modifiers, std::uint8_t key_usage)
{
    m_combination.modifiers = modifiers;
    m_combination.key = hid_usage_to_vk(key_usage);
    m_combination.key_usage = key_usage;
}
