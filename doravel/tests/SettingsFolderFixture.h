// Gives a test an empty settings folder: an existing %APPDATA%\Tavri is moved aside and
// brought back afterwards.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "SettingsStore.h"

class CleanSettingsFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    aside_ = TavriFolder() + L".aside";
    std::error_code ignored;
    std::filesystem::remove_all(aside_, ignored);
    moved_ = MoveFileW(TavriFolder().c_str(), aside_.c_str()) != FALSE;
  }
  void TearDown() override {
    std::error_code ignored;
    SetFileAttributesW(SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(TavriFolder(), ignored);
    if (moved_) MoveFileW(aside_.c_str(), TavriFolder().c_str());
  }

 public:
  static std::wstring TavriFolder() {
    const std::wstring settings = GetAppDataFolder();
    return settings.substr(0, settings.rfind(L'\\'));
  }
  static std::wstring SettingsPath() { return GetAppDataFolder() + L"\\imecfg.prototxt"; }

 private:
  std::wstring aside_;
  bool moved_ = false;
};
