// The device lists against the real SetupAPI, with fake device interfaces registered by the
// fixture; waveIn names through the winmm table.
#include "devices/DeviceEnumeration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeWaveIn.h"
#include "fakedevices/FakeDeviceSet.h"

namespace {

TEST(WaveInNames, AppendedInDeviceOrder) {
  const std::vector<std::wstring> cases[] = {{}, {L"Line In"}, {L"麦克风 (Vornix)", L"TAVRI Mic", L"Line In"}};
  for (const auto& devices : cases) {
    FakeWaveIn wave_in(devices);
    std::vector<std::wstring> names{L"kept"};
    EnumWaveInNames(&names);
    std::vector<std::wstring> expected{L"kept"};
    expected.insert(expected.end(), devices.begin(), devices.end());
    EXPECT_EQ(names, expected);
  }
}

TEST(WaveInNamesOnThisMachine, NoCaptureDeviceGivesAnEmptyList) {
  std::vector<std::wstring> names;
  EnumWaveInNames(&names);
  EXPECT_EQ(names.size(), waveInGetNumDevs());
}

TEST(ControlDevicePath, FirstPresentInterfaceFiveOfTheControlDevice) {
  FakeDeviceSet devices;
  EXPECT_EQ(FindControlDevicePath(), L"");
  devices.AddHid(L"VID_E4A9&PID_507C&MI_00", L"7&1&0&0000");                  // other interface
  devices.AddHid(L"VID_E4A9&PID_50D6&MI_05", L"7&1&0&0001");                  // other product
  devices.AddHid(L"VID_E4A9&PID_507C&MI_05", L"7&1&0&0002", /*present=*/false);  // unplugged
  EXPECT_EQ(FindControlDevicePath(), L"");

  const std::wstring first = devices.AddHid(L"VID_E4A9&PID_507C&MI_05", L"7&1&0&0003");
  devices.AddHid(L"VID_E4A9&PID_507C&MI_05", L"7&1&0&0004");
  EXPECT_EQ(first, L"\\\\?\\hid#vid_e4a9&pid_507c&mi_05#7&1&0&0003#{4d1e55b2-f16f-11cf-88cb-001111000030}");
  EXPECT_EQ(FindControlDevicePath(), first);
}

TEST(BleDevices, NameAddressAndConnectedOfEachPresentDevice) {
  FakeDeviceSet devices;
  const std::wstring vornix = devices.AddBle(L"e0d9a3b2c1f0", {FakeStringProperty(kFakeFriendlyName, L"Tavri Vornix"),
                                                               FakeStringProperty(kFakeBluetoothAddress, L"e0d9a3b2c1f0"),
                                                               FakeBooleanProperty(kFakeConnected, true)});
  devices.AddBle(L"aaaaaaaaaaaa", {FakeStringProperty(kFakeFriendlyName, L"Gone")}, /*present=*/false);
  const std::wstring ring = devices.AddBle(L"f8f09e112233", {FakeStringProperty(kFakeFriendlyName, L"指环"),
                                                             FakeStringProperty(kFakeBluetoothAddress, L"f8f09e112233"),
                                                             FakeBooleanProperty(kFakeConnected, false)});
  std::vector<BleDeviceInfo> list;
  EnumBleDevices(&list);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, L"Tavri Vornix");
  EXPECT_EQ(list[0].path, vornix);
  EXPECT_EQ(list[0].address, L"e0d9a3b2c1f0");
  EXPECT_EQ(list[0].connected, 1);
  EXPECT_EQ(list[1].name, L"指环");
  EXPECT_EQ(list[1].path, ring);
  EXPECT_EQ(list[1].connected, 0);
}

// Each property query is tested on its own: a property the device lacks reads as empty,
// never as the bytes of the property read before it.
TEST(BleDevices, MissingPropertiesReadEmptyNotThePreviousOnes) {
  FakeDeviceSet devices;
  devices.AddBle(L"111111111111", {FakeStringProperty(kFakeFriendlyName, L"Name only"),
                                   FakeBooleanProperty(kFakeConnected, true)});
  devices.AddBle(L"222222222222", {FakeStringProperty(kFakeBluetoothAddress, L"222222222222")});
  std::vector<BleDeviceInfo> list;
  EnumBleDevices(&list);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, L"Name only");
  EXPECT_EQ(list[0].address, L"");
  EXPECT_EQ(list[0].connected, 1);
  EXPECT_EQ(list[1].name, L"");
  EXPECT_EQ(list[1].address, L"222222222222");
  EXPECT_EQ(list[1].connected, 0);
}

TEST(BleDevices, ANameLargerThanTheBufferEndsTheWalk) {
  FakeDeviceSet devices;
  devices.AddBle(L"111111111111", {FakeStringProperty(kFakeFriendlyName, L"First")});
  devices.AddBle(L"222222222222", {FakeStringProperty(kFakeFriendlyName, std::wstring(1100, L'n'))});
  devices.AddBle(L"333333333333", {FakeStringProperty(kFakeFriendlyName, L"Third")});
  std::vector<BleDeviceInfo> list;
  EnumBleDevices(&list);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, L"First");
}

TEST(GattServicePath, MatchesTheAddressAfterTheRevisionWithoutRegardToCase) {
  FakeDeviceSet devices;
  EXPECT_EQ(FindGattServicePath(kKelvaneGattService, L"E0D9A3B2C1F0"), L"");
  devices.AddGatt(FakeGattServiceInstanceId(L"aaaaaaaaaaaa"));
  devices.AddGatt(FakeGattServiceInstanceId(L"e0d9a3b2c1f0", L"8&1&0&0001"), /*present=*/false);
  devices.AddGatt(L"BTHLEDEVICE\\{00010203-0405-0607-0809-0A0B0C0D1911}_DEV_REV&0001_E0D9\\1");  // too short
  EXPECT_EQ(FindGattServicePath(kKelvaneGattService, L"E0D9A3B2C1F0"), L"");

  const std::wstring path = devices.AddGatt(FakeGattServiceInstanceId(L"E0D9A3B2C1F0"));
  EXPECT_NE(path.find(L"_rev&0001_e0d9a3b2c1f0#"), std::wstring::npos) << "the system lower-cases paths";
  for (const wchar_t* address : {L"E0D9A3B2C1F0", L"e0d9a3b2c1f0", L"E0d9A3b2C1f0"}) {
    EXPECT_EQ(FindGattServicePath(kKelvaneGattService, address), path) << address;
  }
  EXPECT_EQ(FindGattServicePath(kKelvaneGattService, L"e0d9a3b2c1f"), L"");
  EXPECT_EQ(FindGattServicePath(kFakeHidClass, L"e0d9a3b2c1f0"), L"");
}

}  // namespace
