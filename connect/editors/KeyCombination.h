#pragma once
// The custom key combination of a mouse button: modifier bits and one other key, built
// from captured key presses.
#include "KeyCapture.h"

#include <QString>

#include <cstdint>

struct KeyCombination {
    std::uint8_t modifiers = 0;  // HID boot-keyboard bits: left Ctrl, Shift, Alt, Win, then right
    std::uint8_t key = 0;        // virtual key of the one other key; 0 for none
    std::uint8_t key_usage = 0;  // what the device gets for it: the key's HID usage, or the usage
                                 // read from the device when that has no key of ours
};

// Display text such as "CTRL+SHIFT+A"; empty for an empty combination.
QString combination_text(const KeyCombination &combination);

class KeyCombinationCapture
{
public:
    // True when a new key press changed or renewed the combination. Modifiers only add
    // their bit, another key replaces the key, releases change nothing; a repeat press and
    // a key with no HID usage are dropped.
    bool key_event(std::uint32_t vkey, KeyAction action);
    // An empty combination; keys held down stay known as down.
    void clear() { m_combination = {}; }
    // A combination read from the device.
    void load(std::uint8_t modifiers, std::uint8_t key_usage);

    const KeyCombination &combination() const { return m_combination; }

private:
    KeyStates m_keys;
    KeyCombination m_combination;
};
