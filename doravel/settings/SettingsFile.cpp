#include "SettingsFile.h"

#include "SettingsStore.h"

const wchar_t kSettingsFileName[] = L"imecfg.prototxt";

void LoadSettings(ORVANE::Config::ConfigPb* config, std::wstring* kept_aside_as) {
  if (kept_aside_as) kept_aside_as->clear();
  const std::wstring folder = GetAppDataFolder();
  if (folder.empty() ||
      !LoadProtoFile(folder + L"\\" + kSettingsFileName, config, kProtoFileText, kept_aside_as)) {
    SetDefaultConfig(config);
  }
}

SaveResult SaveSettings(const ORVANE::Config::ConfigPb& config) {
  SaveResult result{SaveOutcome::kSaved, GetAppDataFolder(), std::wstring()};
  if (result.folder.empty() || !CreateFolderPath(result.folder)) {
    result.outcome = SaveOutcome::kFolderUnavailable;
    return result;
  }
  result.path = result.folder + L"\\" + kSettingsFileName;
  if (!SaveProtoText(result.path, config)) result.outcome = SaveOutcome::kNotWritten;
  return result;
}
