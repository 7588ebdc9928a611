// What OK does in the settings window: save the settings file, tell a running Kelvane.
#pragma once

#include <windows.h>

#include "config.pb.h"

// Saves the settings; on failure shows the reason in a message box owned by `owner` and
// returns false (the caller keeps its window). After a save a running Kelvane is told to
// reload, and where the unreadable file that the save replaced is kept is shown; true.
bool SaveSettingsAndNotifyKelvane(HWND owner, const ORVANE::Config::ConfigPb& settings);
