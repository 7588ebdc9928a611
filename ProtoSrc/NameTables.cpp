#include "NameTables.h"

#include <map>

namespace {

const std::wstring& Lookup(const std::map<int, std::wstring>& table, int value) {
  static const std::wstring kNoName;
  const auto found = table.find(value);
  return found == table.end() ? kNoName : found->second;
}

}  // namespace

const std::wstring& DeviceTypeName(int type) {
  static const std::map<int, std::wstring> kNames = {
      {DT_Invalid, L"DT_Invalid"}, {DT_Mic_General, L"DT_Mic_General"},
      {DT_Mic_BLE, L"DT_Mic_BLE"}, {DT_Ctl_HID, L"DT_Ctl_HID"},
      {DT_Ctl_BLE, L"DT_Ctl_BLE"},
  };
  return Lookup(kNames, type);
}

const std::wstring& ServiceCommandName(int command) {
  static const std::map<int, std::wstring> kNames = {
      {IME_Config, L"IME_Config"},           {IME_SwitchAIMode, L"IME_SwitchAIMode"},
      {IME_SwitchSRMode, L"IME_SwitchSRMode"}, {IME_CreateSR, L"IME_CreateSR"},
      {IME_DestroySR, L"IME_DestroySR"},     {IME_CreateCtlDev, L"IME_CreateCtlDev"},
      {IME_DestroyCtlDev, L"IME_DestroyCtlDev"}, {IME_CreateMicDev, L"IME_CreateMicDev"},
      {IME_DestroyMicDev, L"IME_DestroyMicDev"}, {IME_OpenCtlDev, L"IME_OpenCtlDev"},
      {IME_CloseCtlDev, L"IME_CloseCtlDev"}, {IME_OpenMicDev, L"IME_OpenMicDev"},
      {IME_CloseMicDev, L"IME_CloseMicDev"}, {IME_SystemCheck, L"IME_SystemCheck"},
  };
  return Lookup(kNames, command);
}
