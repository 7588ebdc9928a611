#pragma once
// Keyboard hooks that only count: the editors made while a FakeHooks lives get them, and
// keys reach the editors through low_level_key_call as a hook would pass them.
#include "editors/KeyCapture.h"
#include "editors/KeyboardHook.h"

#include <memory>

struct FakeHooks {
    int installs = 0;
    int removals = 0;
    bool fail = false;          // installs fail
    bool fail_removal = false;  // removals fail

    FakeHooks()
    {
        set_keyboard_hook_factory([this](QWidget *) { return std::make_unique<Hook>(this); });
    }
    ~FakeHooks() { set_keyboard_hook_factory({}); }

    struct Hook : KeyboardHook {
        FakeHooks *hooks;
        explicit Hook(FakeHooks *owner) : hooks(owner) {}
        bool install() override
        {
            ++hooks->installs;
            return !hooks->fail;
        }
        bool remove() override
        {
            ++hooks->removals;
            return !hooks->fail_removal;
        }
    };
};

inline void press_key(std::uint32_t vkey) { low_level_key_call(0, kWmKeyDown, vkey); }
inline void release_key(std::uint32_t vkey) { low_level_key_call(0, kWmKeyUp, vkey); }
inline void tap_key(std::uint32_t vkey)
{
    press_key(vkey);
    release_key(vkey);
}
