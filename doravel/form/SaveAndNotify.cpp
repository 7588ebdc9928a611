#include "form/SaveAndNotify.h"

#include <string>

#include "settings/KelvaneNotice.h"
#include "settings/SettingsFile.h"

bool SaveSettingsAndNotifyKelvane(HWND owner, const ORVANE::Config::ConfigPb& settings) {
  const SaveResult saved = SaveSettings(settings);
  switch (saved.outcome) {
    case SaveOutcome::kFolderUnavailable:
      MessageBoxW(owner, L"无法访问应用目录", saved.folder.c_str(), MB_OK);
      return false;
    case SaveOutcome::kUnreadableNotKept:
      MessageBoxW(owner, (L"原有设置无法读取，也无法另存一份，设置未保存：\r\n" + saved.path).c_str(),
                  L"保存配置失败", MB_OK);
      return false;
    case SaveOutcome::kNotWritten:
      MessageBoxW(owner, saved.path.c_str(), L"保存配置失败", MB_OK);
      return false;
    case SaveOutcome::kSaved:
      break;
  }
  // The file is saved whatever Kelvane does with the notice.
  NotifyKelvaneOfNewSettings();
  if (!saved.kept_as.empty()) {
    MessageBoxW(owner, (L"原有设置无法读取，已另存为：\r\n" + saved.kept_as).c_str(), L"提示", MB_OK);
  }
  return true;
}
