#include "KeyCapture.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<KeySink *> &key_sinks()
{
    static std::vector<KeySink *> sinks;
    return sinks;
}

// Keys whose press a hook swallowed: only their releases are swallowed too.
KeyStates &swallowed_presses()
{
    static KeyStates keys;
    return keys;
}

} // namespace

void add_key_sink(KeySink *sink)
{
    remove_key_sink(sink);
    if (key_sinks().empty())
        swallowed_presses().clear();  // the first hook has swallowed nothing yet
    key_sinks().push_back(sink);
}

void remove_key_sink(KeySink *sink)
{
    auto &sinks = key_sinks();
    sinks.erase(std::remove(sinks.begin(), sinks.end(), sink), sinks.end());
}

KeySink *current_key_sink()
{
    return key_sinks().empty() ? nullptr : key_sinks().back();
}

HookAnswer low_level_key_call(int code, std::uintptr_t message, std::uint32_t vkey, bool down_for_desktop)
{
    if (code != 0)
        return HookAnswer::CallNextHook;
    KeySink *sink = current_key_sink();
    const std::uintptr_t plain = message & ~std::uintptr_t(0x4);  // WM_SYSKEY* count as WM_KEY*
    if (plain == kWmKeyUp) {
        if (sink)
            sink->key_event(vkey, KeyAction::Up);
        // A key held since before the hook came must come up for the whole desktop.
        return swallowed_presses().release(vkey) ? HookAnswer::Swallow : HookAnswer::CallNextHook;
    }
    if (plain == kWmKeyDown) {
        if (sink)
            sink->key_event(vkey, KeyAction::Down);
        if (!down_for_desktop)
            swallowed_presses().press(vkey);
    }
    return HookAnswer::Swallow;
}

bool KeyStates::press(std::uint32_t vkey)
{
    if (vkey >= kKeyCount || m_down[vkey])
        return false;
    m_down[vkey] = true;
    return true;
}

bool KeyStates::release(std::uint32_t vkey)
{
    if (vkey >= kKeyCount || !m_down[vkey])
        return false;
    m_down[vkey] = false;
    return true;
}
