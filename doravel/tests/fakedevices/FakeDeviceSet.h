// Fake device interfaces registered by a test and removed again when it ends.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakedevices/FakeDeviceInterfaces.h"

class FakeDeviceSet {
 public:
  FakeDeviceSet() = default;
  FakeDeviceSet(const FakeDeviceSet&) = delete;
  FakeDeviceSet& operator=(const FakeDeviceSet&) = delete;
  ~FakeDeviceSet() {
    for (const std::wstring& id : instances_) RemoveFakeDevice(id);
  }

  std::wstring Add(FakeInterface fake) {
    instances_.push_back(fake.instance_id);
    const std::wstring path = AddFakeInterface(fake);
    EXPECT_FALSE(path.empty()) << "fake device not registered";
    return path;
  }
  std::wstring AddHid(const std::wstring& vid_pid_mi, const std::wstring& serial, bool present = true) {
    return Add({kFakeHidClass, FakeHidInstanceId(vid_pid_mi, serial), {}, present});
  }
  std::wstring AddBle(const std::wstring& address, std::vector<FakeProperty> properties, bool present = true) {
    return Add({kFakeBleDeviceClass, FakeBleDeviceInstanceId(address), std::move(properties), present});
  }
  // A BLE device with all three properties.
  std::wstring AddBle(const std::wstring& name, const std::wstring& address, bool connected) {
    return AddBle(address, {FakeStringProperty(kFakeFriendlyName, name), FakeStringProperty(kFakeBluetoothAddress, address),
                            FakeBooleanProperty(kFakeConnected, connected)});
  }
  std::wstring AddGatt(const std::wstring& instance_id, bool present = true) {
    return Add({kFakeGattServiceClass, instance_id, {}, present});
  }

 private:
  std::vector<std::wstring> instances_;
};
