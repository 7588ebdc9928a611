#include "NameTables.h"

#include <gtest/gtest.h>

TEST(NameTables, DeviceTypesAreNamed) {
  EXPECT_EQ(DeviceTypeName(0), L"DT_Invalid");
  EXPECT_EQ(DeviceTypeName(DT_Mic_General), L"DT_Mic_General");
  EXPECT_EQ(DeviceTypeName(DT_Mic_BLE), L"DT_Mic_BLE");
  EXPECT_EQ(DeviceTypeName(DT_Ctl_HID), L"DT_Ctl_HID");
  EXPECT_EQ(DeviceTypeName(DT_Ctl_BLE), L"DT_Ctl_BLE");
  EXPECT_EQ(DeviceTypeName(5), L"");
  EXPECT_EQ(DeviceTypeName(-1), L"");
}

TEST(NameTables, CommandsWithoutNameGiveEmptyText) {
  for (int command : {0, 4, 5, 17, 1000, -3}) {
    EXPECT_EQ(ServiceCommandName(command), L"") << command;
  }
  // A miss must not add an entry: the next lookup still misses.
  EXPECT_EQ(ServiceCommandName(4), L"");
}

TEST(NameTables, CommandNamesMatchTheirNumbers) {
  const std::pair<int, const wchar_t*> expected[] = {
      {1, L"IME_Config"},        {2, L"IME_SwitchAIMode"},  {3, L"IME_SwitchSRMode"},
      {6, L"IME_CreateSR"},      {7, L"IME_DestroySR"},     {8, L"IME_CreateCtlDev"},
      {9, L"IME_DestroyCtlDev"}, {10, L"IME_CreateMicDev"}, {11, L"IME_DestroyMicDev"},
      {12, L"IME_OpenCtlDev"},   {13, L"IME_CloseCtlDev"},  {14, L"IME_OpenMicDev"},
      {15, L"IME_CloseMicDev"},  {16, L"IME_SystemCheck"},
  };
  for (const auto& [number, name] : expected) EXPECT_EQ(ServiceCommandName(number), name) << number;
}
