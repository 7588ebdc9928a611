#pragma once
#include <cstdint>

// One step of a recorded key macro: a key going down or up, and the pause before it.
struct MacroEvent {
    std::uint8_t usage = 0;     // HID keyboard usage of the key
    std::uint8_t action = 0;    // 0 = pressed, 1 = released
    std::uint16_t delay_ms = 0; // since the previous event; 0 when delays are not recorded

    friend bool operator==(const MacroEvent &a, const MacroEvent &b)
    {
        return a.usage == b.usage && a.action == b.action && a.delay_ms == b.delay_ms;
    }
};
