// The settings file in the real application data folder: load with defaults, save whole,
// and the two failures the window reports.
#include "settings/SettingsFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <google/protobuf/text_format.h>

#include <filesystem>
#include <string>

#include "AtomicFile.h"
#include "FileBytes.h"
#include "SettingsFolderFixture.h"
#include "SettingsStore.h"

using ORVANE::Config::ConfigPb;

namespace {

ConfigPb Defaults() {
  ConfigPb config;
  SetDefaultConfig(&config);
  return config;
}

TEST_F(CleanSettingsFolder, LoadFallsBackToTheDefaults) {
  ConfigPb config;
  LoadSettings(&config);
  EXPECT_EQ(config.SerializeAsString(), Defaults().SerializeAsString());

  // A file that parses partly: the defaults go over what was read, which stays where the
  // defaults say nothing; the file stays as it is.
  ASSERT_TRUE(CreateFolderPath(GetAppDataFolder()));
  const std::string partial = "software_config {\r\n}\r\nsr_config {\r\n  b_ptt: false\r\n  oops";
  WriteBytes(SettingsPath(), partial);
  ConfigPb partly;
  bool unreadable = false;
  LoadSettings(&partly, &unreadable);
  EXPECT_TRUE(unreadable);
  EXPECT_TRUE(partly.has_software_config());
  EXPECT_TRUE(partly.sr_config().b_ptt());
  EXPECT_EQ(partly.translate_config().dst_key(), "en");
  EXPECT_EQ(ReadBytes(SettingsPath()), partial);

  // An empty file loads as it is.
  WriteBytes(SettingsPath(), "");
  ConfigPb empty;
  LoadSettings(&empty, &unreadable);
  EXPECT_FALSE(unreadable);
  EXPECT_EQ(empty.ByteSizeLong(), 0u);
}

TEST_F(CleanSettingsFolder, SaveCreatesTheFolderAndWritesTheWholeText) {
  ConfigPb config = Defaults();
  config.mutable_sr_config()->set_language_key("en_us");
  const SaveResult result = SaveSettings(config);
  ASSERT_EQ(result.outcome, SaveOutcome::kSaved);
  EXPECT_EQ(result.folder, GetAppDataFolder());
  EXPECT_EQ(result.path, SettingsPath());

  std::string expected;
  google::protobuf::TextFormat::PrintToString(config, &expected);
  std::string crlf;
  for (char c : expected) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(ReadBytes(SettingsPath()), crlf);

  ConfigPb loaded;
  LoadSettings(&loaded);
  EXPECT_EQ(loaded.sr_config().language_key(), "en_us");
}

TEST_F(CleanSettingsFolder, FailuresAreReportedAndLeaveNothingHalfWritten) {
  // A file where the Tavri folder should be: the settings folder cannot be made.
  WriteBytes(TavriFolder(), "in the way");
  SaveResult result = SaveSettings(Defaults());
  EXPECT_EQ(result.outcome, SaveOutcome::kFolderUnavailable);
  EXPECT_EQ(result.folder, GetAppDataFolder());
  EXPECT_EQ(ReadBytes(TavriFolder()), "in the way");
  DeleteFileW(TavriFolder().c_str());

  // Nothing can be written beside the settings file: the old text stays whole.
  ASSERT_TRUE(CreateFolderPath(GetAppDataFolder()));
  const std::string previous = "sr_config {\r\n  b_ptt: false\r\n}\r\n";
  WriteBytes(SettingsPath(), previous);
  const std::wstring blocker = TemporaryPathFor(SettingsPath());
  ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
  result = SaveSettings(Defaults());
  RemoveDirectoryW(blocker.c_str());
  EXPECT_EQ(result.outcome, SaveOutcome::kNotWritten);
  EXPECT_EQ(result.path, SettingsPath());
  EXPECT_EQ(ReadBytes(SettingsPath()), previous);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(GetAppDataFolder()), {}), 1);

  // An unreadable file of which no copy can be made: nothing is written.
  const std::string unreadable = "sr_config { unreadable: 1 }";
  WriteBytes(SettingsPath(), unreadable);
  const std::wstring copy_blocker = TemporaryPathFor(SettingsPath() + L".bad");
  ASSERT_TRUE(CreateDirectoryW(copy_blocker.c_str(), nullptr));
  result = SaveSettings(Defaults());
  RemoveDirectoryW(copy_blocker.c_str());
  EXPECT_EQ(result.outcome, SaveOutcome::kUnreadableNotKept);
  EXPECT_TRUE(result.kept_as.empty());
  EXPECT_EQ(ReadBytes(SettingsPath()), unreadable);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(GetAppDataFolder()), {}), 1);
}

}  // namespace
