// The settings file that the settings window edits, in the folder shared with Kelvane.
#pragma once

#include <string>

#include "config.pb.h"

extern const wchar_t kSettingsFileName[];  // "imecfg.prototxt"

// Fills the settings from the file; when it cannot be read, the defaults go over what the
// failed read left in the message. unreadable, when given, tells whether a file is there
// that did not load: it is left as it is, and the save keeps a copy of it first.
void LoadSettings(ORVANE::Config::ConfigPb* config, bool* unreadable = nullptr);

enum class SaveOutcome { kSaved, kFolderUnavailable, kUnreadableNotKept, kNotWritten };

struct SaveResult {
  SaveOutcome outcome;
  std::wstring folder;   // the settings folder (empty when the shell cannot name it)
  std::wstring path;     // the settings file
  std::wstring kept_as;  // where the unreadable file that the save replaces is kept, or empty
};

// Creates the settings folder and writes the file whole (replaced atomically), or reports
// which step failed; the previous file stays intact on failure. A file there that does not
// load is copied first; when no copy can be made, nothing is written (kUnreadableNotKept).
SaveResult SaveSettings(const ORVANE::Config::ConfigPb& config);
