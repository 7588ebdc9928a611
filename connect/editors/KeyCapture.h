#pragma once
// The portable side of key capture. A low-level keyboard hook (the Windows hook, or the
// keyboard grab that stands in for it elsewhere) hands every call to low_level_key_call,
// which gives the key to the newest capture that takes keys. No Qt here: the Windows hook
// procedure includes this too.
#include <array>
#include <cstdint>

enum class KeyAction { Down, Up };

// What takes the keys of an installed hook.
class KeySink
{
public:
    virtual void key_event(std::uint32_t vkey, KeyAction action) = 0;

protected:
    ~KeySink() = default;
};

// Sinks in the order their hooks were installed; the newest takes the keys, as the newest
// Windows hook sees them first and swallows them.
void add_key_sink(KeySink *sink);
void remove_key_sink(KeySink *sink);  // no effect for a sink not taking keys
KeySink *current_key_sink();

enum class HookAnswer { CallNextHook, Swallow };

constexpr std::uintptr_t kWmKeyDown = 0x100;
constexpr std::uintptr_t kWmKeyUp = 0x101;

// One call of a LowLevelKeyboardProc: code, message (WM_KEYDOWN, WM_SYSKEYUP, ...) and the
// virtual key. A code other than 0 is not ours to handle, nor is the release of a key whose
// press no hook swallowed since the first of them was installed; every other call is swallowed.
// down_for_desktop: the key is down for the desktop already, so a press is the auto-repeat of
// a key held since before the hook, not a press the hook swallows.
HookAnswer low_level_key_call(int code, std::uintptr_t message, std::uint32_t vkey,
                              bool down_for_desktop = false);

// Which virtual keys are down, to tell a new press from auto-repeat and a release from the
// release of a key pressed before capture started.
class KeyStates
{
public:
    // True when the key was up; codes beyond 254 are no key and give false.
    bool press(std::uint32_t vkey);
    // True when the key was down.
    bool release(std::uint32_t vkey);
    void clear() { m_down.fill(false); }

private:
    static constexpr std::uint32_t kKeyCount = 255;  // 0xFF is no key
    std::array<bool, kKeyCount> m_down{};
};
