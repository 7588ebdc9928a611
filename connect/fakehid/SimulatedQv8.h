#pragma once
// A simulated QV8 receiver: it keeps the mouse's settings and answers the configuration
// reports as the receiver does. Reports of the wrong length, report id or CRC, and
// unknown commands, are rejected with a line "qv8 rejected: <reason>" in the call log.
#include "FakeHidBus.h"

#include <cstddef>
#include <memory>
#include <string>

namespace simulated {

struct Qv8State {
    int main_button = 0;      // 0 left, 1 right
    int wheel_direction = 0;  // 0 traditional, 1 reversed
    int power_on_state = 0;   // 0 lift on power-up, 1 power only
    int dpi = 1200;
    std::string version = "V2.0.1";  // up to six characters
    bool answers = true;             // false: queries get no reply (the host times out)
    std::size_t reply_length = 32;   // bytes in each reply
};

// Answers written reports from *state, changing it on set commands.
std::function<std::optional<fakehid::Bytes>(const fakehid::Bytes &)> qv8_receiver(std::shared_ptr<Qv8State> state);

} // namespace simulated
