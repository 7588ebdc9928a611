// The settings file that the settings window edits, in the folder shared with Kelvane.
#pragma once

#include <string>

#include "config.pb.h"

extern const wchar_t kSettingsFileName[];  // "imecfg.prototxt"

// Fills the settings from the file; when it cannot be read, the defaults go over what the
// failed read left in the message. kept_aside_as, when given, receives the name an unreadable
// file was moved to, or is emptied.
void LoadSettings(ORVANE::Config::ConfigPb* config, std::wstring* kept_aside_as = nullptr);

enum class SaveOutcome { kSaved, kFolderUnavailable, kNotWritten };

struct SaveResult {
  SaveOutcome outcome;
  std::wstring folder;  // the settings folder (empty when the shell cannot name it)
  std::wstring path;    // the settings file
};

// Creates the settings folder and writes the file whole (replaced atomically), or reports
// which step failed; the previous file stays intact on failure.
SaveResult SaveSettings(const ORVANE::Config::ConfigPb& config);
