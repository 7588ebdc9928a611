#pragma once
// A simulated ZY5 mouse: it keeps lighting, DPI block, report rate, eight button assignments
// and their macros, and answers the command reports (id 0x4D, 32 bytes) and macro reports
// (id 0x57, 64 bytes) as the mouse does. Both interfaces are collections of one node:
// collection 3 takes only command reports, collection 2 only macro reports. Reports of the
// wrong length or id, unknown commands, values out of range, fixed bytes of other values (the
// lighting report's 0x00, 0x08, 0x00 around its fields) and non-zero bytes after a command's
// fields are rejected with "zy5 rejected: <reason>" in the call log; behind the
// events of a macro chunk any bytes pass, as the mouse reads only the events counted.
#include "FakeHidBus.h"

#include <array>
#include <cstddef>
#include <map>
#include <memory>

namespace simulated {

struct Zy5Button {
    int type = 0;       // 0 mouse function, 1 key combination, 2 macro
    int sub = 0;        // function id, preset index or record-delay flag
    int modifiers = 0;  // custom keys; for a macro its event count
    int key_usage = 0;
    fakehid::Bytes macro;  // four bytes per event
};

struct Zy5State {
    int effect = 1;
    int frequency = 4;
    int red = 255, green = 0, blue = 0;
    std::array<int, 5> dpi_levels{7, 15, 31, 47, 63};  // 400, 800, 1600, 2400, 3200 dpi
    int current_level = 1;
    int aim = 7;
    int level_count_index = 4;
    int report_rate = 1;
    std::map<int, Zy5Button> buttons = factory_buttons();  // ids 2 to 9

    bool answers = true;                 // false: reads get no reply (the host times out)
    std::size_t reply_length = 32;       // bytes in each command reply
    std::size_t macro_reply_length = 64; // bytes in each macro reply

    static std::map<int, Zy5Button> factory_buttons();
};

std::function<std::optional<fakehid::Bytes>(const fakehid::Bytes &)> zy5_mouse(std::shared_ptr<Zy5State> state);

} // namespace simulated
