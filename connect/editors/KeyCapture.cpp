#include "KeyCapture.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<KeySink *> &key_sinks()
{
    static std::vector<KeySink *> sinks;
    return sinks;
}

} // namespace

void add_key_sink(KeySink *sink)
{
    remove_key_sink(sink);
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

HookAnswer low_level_key_call(int code, std::uintptr_t message, std::uint32_t vkey)
{
    if (code != 0)
        return HookAnswer::CallNextHook;
    KeySink *sink = current_key_sink();
    const std::uintptr_t plain = message & ~std::uintptr_t(0x4);  // WM_SYSKEY* count as WM_KEY*
    if (sink && plain == kWmKeyDown)
        sink->key_event(vkey, KeyAction::Down);
    else if (sink && plain == kWmKeyUp)
        sink->key_event(vkey, KeyAction::Up);
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
