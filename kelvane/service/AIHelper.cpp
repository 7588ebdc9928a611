#include "AIHelper.h"

#include <shellapi.h>

#include "SettingsStore.h"
#include "TraceMessage.h"
#include "tessik/TessikService.h"

CAIHelper::CAIHelper() : shellExecute_(&ShellExecuteW) {}

void CAIHelper::SetShellExecute(ShellExecuteFunction shellExecute) {
  shellExecute_ = std::move(shellExecute);
}

bool CAIHelper::Load() { return LoadFrom(GetAppDataFolder()); }

bool CAIHelper::LoadFrom(const std::wstring& folder) {
  commands_[L"打开计算器"] = [this] { return Run(kRunBuiltIn, L"calc", {}); };
  commands_[L"打开记事本"] = [this] { return Run(kRunBuiltIn, L"notepad", {}); };
  if (!LoadProtoFile(folder + L"\\" + kFileName, &config_, kProtoFileText)) {
    TraceMessage(kTraceError, L"CAIHelper Fail to load config file:%s", kFileName);
    config_.Clear();
    return true;
  }
  AddFileEntries();
  return true;
}

void CAIHelper::AddFileEntries() {
  for (const auto& ability : config_.ai_ability()) {
    const std::wstring name = CTessikService::StringToWString(ability.name());
    const std::wstring exe = CTessikService::StringToWString(ability.exe());
    if (name.empty()) {
      // An empty phrase occurs in every sentence and would run for each one.
      TraceMessage(kTraceError, L"CAIHelper Skip command without phrase, exe:%s", exe.c_str());
      continue;
    }
    commands_[name] = [this, exe] { return Run(kRunFileEntry, exe, {}); };
  }
}

bool CAIHelper::Match(const std::wstring& text, AICommand& result) const {
  for (const auto& [name, action] : commands_) {
    if (text.find(name) != std::wstring::npos) {
      result = {name, action};
      return true;
    }
  }
  return false;
}

bool CAIHelper::Run(int mode, const std::wstring& file,
                    const std::vector<std::wstring>& parameters) {
  if (mode != kRunFileEntry && mode != kRunBuiltIn) return false;
  std::wstring joined;
  for (const std::wstring& parameter : parameters) joined += parameter + L" ";
  TraceMessage(kTraceDebug, L"AIFunc Run:[%s] Params:[%s]", file.c_str(), joined.c_str());
  const HINSTANCE result =
      shellExecute_(nullptr, L"open", file.c_str(), joined.c_str(), nullptr, SW_SHOW);
  if (reinterpret_cast<INT_PTR>(result) <= 32) {
    TraceMessage(kTraceError, L"AIFunc Run Fail:[%s] Params:[%s]", file.c_str(), joined.c_str());
    return false;
  }
  return true;
}
