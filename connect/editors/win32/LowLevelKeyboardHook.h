#pragma once
// The WH_KEYBOARD_LL hook of this thread; its procedure passes each call to
// low_level_key_call.

// Null when the hook could not be installed.
void *install_low_level_keyboard_hook();
// False when the hook could not be removed.
bool remove_low_level_keyboard_hook(void *hook);
