// Names of the device types and the IME service commands, for log lines.
#pragma once

#include <string>

enum DeviceType {
  DT_Invalid = 0,
  DT_Mic_General = 1,
  DT_Mic_BLE = 2,
  DT_Ctl_HID = 3,
  DT_Ctl_BLE = 4,
};

enum ServiceCommand {
  IME_Config = 1,
  IME_SwitchAIMode = 2,
  IME_SwitchSRMode = 3,
  IME_CreateSR = 6,
  IME_DestroySR = 7,
  IME_CreateCtlDev = 8,
  IME_DestroyCtlDev = 9,
  IME_CreateMicDev = 10,
  IME_DestroyMicDev = 11,
  IME_OpenCtlDev = 12,
  IME_CloseCtlDev = 13,
  IME_OpenMicDev = 14,
  IME_CloseMicDev = 15,
  IME_SystemCheck = 16,
};

// The name of the value, or an empty string when it has none.
const std::wstring& DeviceTypeName(int type);
const std::wstring& ServiceCommandName(int command);
