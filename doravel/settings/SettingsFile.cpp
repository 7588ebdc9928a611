#include "SettingsFile.h"

#include "SettingsStore.h"

const wchar_t kSettingsFileName[] = L"imecfg.prototxt";

void LoadSettings(ORVANE::Config::ConfigPb* config, bool* unreadable) {
  if (unreadable) *unreadable = false;
  const std::wstring folder = GetAppDataFolder();
  if (folder.empty() ||
      !LoadProtoFile(folder + L"\\" + kSettingsFileName, config, kProtoFileText, unreadable)) {
    SetDefaultConfig(config);
  }
}

SaveResult SaveSettings(const ORVANE::Config::ConfigPb& config) {
  SaveResult result{SaveOutcome::kSaved, GetAppDataFolder(), std::wstring(), std::wstring()};
  if (result.folder.empty() || !CreateFolderPath(result.folder)) {
    result.outcome = SaveOutcome::kFolderUnavailable;
    return result;
  }
  result.path = result.folder + L"\\" + kSettingsFileName;
  KeptCopy kept;
  if (!SaveProtoText(result.path, config, &kept)) {
    result.outcome = kept.refused ? SaveOutcome::kUnreadableNotKept : SaveOutcome::kNotWritten;
  }
  result.kept_as = kept.path;
  return result;
}
