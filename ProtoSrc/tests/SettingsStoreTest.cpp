#include "SettingsStore.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <google/protobuf/text_format.h>
#include <gtest/gtest.h>

#include "AtomicFile.h"
#include "DataCenter.pb.h"
#include "FileBytes.h"
#include "StoreLog.h"
#include "TempFolder.h"

using namespace ORVANE::Config;

namespace {

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// What the IME service does with the settings file: load it, or fall back to the defaults.
ConfigPb LoadOrDefault(const std::wstring& path, ConfigPb config = ConfigPb()) {
  if (!LoadProtoFile(path, &config, kProtoFileText)) SetDefaultConfig(&config);
  return config;
}

ConfigPb Defaults() {
  ConfigPb config;
  SetDefaultConfig(&config);
  return config;
}

// Collects the store's log lines for its lifetime.
class LogCapture {
 public:
  LogCapture() : previous_(SetStoreLogSink([this](const std::string& line) { lines.push_back(line); })) {}
  ~LogCapture() { SetStoreLogSink(previous_); }

  std::vector<std::string> lines;

 private:
  StoreLogSink previous_;
};

// A file of the given size whose bytes are all zero, made without writing them.
void MakeZeroFile(const std::wstring& path, int64_t size) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = size;
  EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
  EXPECT_TRUE(SetEndOfFile(file));
  CloseHandle(file);
}

size_t FilesIn(const std::wstring& folder) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

}  // namespace

TEST(AppDataFolder, IsTheRoamingFolderPlusTavriKelvane) {
  wchar_t roaming[MAX_PATH];
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, roaming), S_OK);
  EXPECT_EQ(GetAppDataFolder(), std::wstring(roaming) + L"\\Tavri\\Kelvane");
}

TEST(CreateFolderPath, MakesEveryMissingFolder) {
  TempFolder temp;
  const struct {
    std::wstring path;
    std::wstring expect_folder;
  } cases[] = {
      {temp.File(L"a\\b\\c"), temp.File(L"a\\b\\c")},
      {temp.File(L"a\\b\\c\\"), temp.File(L"a\\b\\c")},  // all exist already
      {temp.File(L"d\\\\e"), temp.File(L"d\\e")},        // doubled backslash: empty piece skipped
      {temp.File(L"f\\g\\"), temp.File(L"f\\g")},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(CreateFolderPath(c.path)) << c.path;
    EXPECT_TRUE(IsFolder(c.expect_folder)) << c.path;
  }
  EXPECT_TRUE(CreateFolderPath(L""));
}

TEST(CreateFolderPath, LeadingBackslashIsRootOfCurrentDrive) {
  TempFolder temp;
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(temp.path().substr(0, 3).c_str()));  // e.g. C:\ .
  const bool created = CreateFolderPath(temp.path().substr(2) + L"\\lead\\x");
  SetCurrentDirectoryW(previous);
  EXPECT_TRUE(created);
  EXPECT_TRUE(IsFolder(temp.File(L"lead\\x")));
}

TEST(CreateFolderPath, FailsBelowAFile) {
  TempFolder temp;
  WriteBytes(temp.File(L"plain.txt"), "x");
  EXPECT_FALSE(CreateFolderPath(temp.File(L"plain.txt\\sub")));
}

TEST(Defaults, ValuesOfTheBuiltInConfig) {
  const ConfigPb config = Defaults();
  EXPECT_EQ(config.ctl_config().ctl_mode(), CtlMode_HID);
  EXPECT_TRUE(config.ctl_config().has_ctl_mode());
  const std::string& path = config.ctl_config().device_descriptor().path();
  EXPECT_EQ(path.size(), 88u);
  EXPECT_EQ(path.substr(0, 4), "\\\\?\\");
  EXPECT_FALSE(config.ctl_config().device_descriptor().has_name());
  EXPECT_EQ(config.mic_config().mic_mode(), MicMode_Gen);
  EXPECT_EQ(config.mic_config().device_descriptor().name(), "\xC2\xF3\xBF\xCB\xB7\xE7 (Vornix)");
  EXPECT_EQ(config.mic_config().device_descriptor().name().size(), 15u);
  EXPECT_FALSE(config.mic_config().device_descriptor().has_path());
  EXPECT_EQ(config.sr_config().reco_engine_key(), "ISRProcessor");
  EXPECT_EQ(config.sr_config().language_key(), "zh_cn");
  EXPECT_EQ(config.sr_config().accent_key(), "mandarin");
  EXPECT_TRUE(config.sr_config().b_ptt());
  EXPECT_TRUE(config.sr_config().has_b_append_enter());
  EXPECT_FALSE(config.sr_config().b_append_enter());
  EXPECT_TRUE(config.sr_config().has_threshold_of_vad());
  EXPECT_TRUE(config.translate_config().has_b_translate());
  EXPECT_EQ(config.translate_config().src_key(), "cn");
  EXPECT_EQ(config.translate_config().dst_key(), "en");
  EXPECT_FALSE(config.has_software_config());
  EXPECT_TRUE(config.IsInitialized());
}

TEST(LoadProtoFile, MissingFileLeavesTheMessageAlone) {
  TempFolder temp;
  ConfigPb config;
  config.mutable_sr_config()->set_language_key("keep");
  EXPECT_FALSE(LoadProtoFile(temp.File(L"absent.prototxt"), &config, kProtoFileText));
  EXPECT_FALSE(LoadProtoFile(temp.File(L"absent.prototxt"), &config, kProtoFileBinary));
  EXPECT_EQ(config.sr_config().language_key(), "keep");
  EXPECT_EQ(LoadOrDefault(temp.File(L"absent.prototxt")).SerializeAsString(),
            Defaults().SerializeAsString());
}

TEST(LoadProtoFile, TextFilesAndWhenTheDefaultsApply) {
  const std::string tool_written =
      "ctl_config {\n  ctl_mode: CtlMode_BLE\n  device_descriptor {\n    name: \"a1\"\n  }\n}\n"
      "sr_config {\n  language_key: \"en_us\"\n  b_ptt: false\n}\n";
  auto crlf = [](std::string text) {
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
      text.insert(at, "\r");
    return text;
  };

  const struct {
    const char* what;
    std::string content;
    bool loads;
    std::function<void(const ConfigPb&)> check;
  } cases[] = {
      {"tool file, CRLF", crlf(tool_written), true,
       [](const ConfigPb& c) {
         EXPECT_EQ(c.ctl_config().ctl_mode(), CtlMode_BLE);
         EXPECT_EQ(c.sr_config().language_key(), "en_us");
         EXPECT_FALSE(c.has_mic_config());  // no default applied
       }},
      {"tool file, LF", tool_written, true,
       [](const ConfigPb& c) { EXPECT_TRUE(c.sr_config().has_b_ptt()); }},
      {"comment does not swallow the rest", "# written by hand\r\nsr_config { b_ptt: true }\r\n",
       true, [](const ConfigPb& c) { EXPECT_TRUE(c.sr_config().b_ptt()); }},
      {"unindented bare-LF lines stay apart", "sr_config {\nb_ptt: true\nb_append_enter: true\n}\n",
       true,
       [](const ConfigPb& c) {
         EXPECT_TRUE(c.sr_config().b_ptt());
         EXPECT_TRUE(c.sr_config().b_append_enter());
       }},
      {"only translate_config", "translate_config {\n  b_translate: true\n}\n", true,
       [](const ConfigPb& c) {
         EXPECT_TRUE(c.translate_config().b_translate());
         EXPECT_FALSE(c.has_sr_config());
         EXPECT_FALSE(c.translate_config().has_src_key());
       }},
      {"empty file", "", true, [](const ConfigPb& c) { EXPECT_EQ(c.ByteSizeLong(), 0u); }},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBFsr_config { b_ptt: false }", false,
       [](const ConfigPb& c) { EXPECT_TRUE(c.sr_config().b_ptt()); }},
      {"mic_config lacks device_descriptor",
       "ctl_config { device_descriptor { name: \"dropped\" } }\nmic_config { mic_mode: MicMode_BLE }\n",
       false,
       [](const ConfigPb& c) {
         EXPECT_FALSE(c.ctl_config().device_descriptor().has_name());
         EXPECT_EQ(c.mic_config().mic_mode(), MicMode_Gen);
       }},
      {"parse error after a field", "software_config { invalid: \"x\" }\nsr_config { oops: 1 }", false,
       [](const ConfigPb& c) {
         EXPECT_FALSE(c.has_software_config());  // nothing half-read survives
         EXPECT_EQ(c.sr_config().language_key(), "zh_cn");
       }},
  };

  TempFolder temp;
  const std::wstring file = temp.File(L"imecfg.prototxt");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(file, c.content);
    LogCapture log;
    ConfigPb loaded;
    EXPECT_EQ(LoadProtoFile(file, &loaded, kProtoFileText), c.loads);
    if (!c.loads) SetDefaultConfig(&loaded);
    c.check(loaded);
  }
}

TEST(LoadProtoFile, BinaryFiles) {
  TempFolder temp;
  const std::wstring file = temp.File(L"DataCenter.prototxt");
  DataCenterPb data;

  WriteBytes(file, "");
  data.mutable_word_statistics()->set_total(9);
  EXPECT_TRUE(LoadProtoFile(file, &data, kProtoFileBinary));
  EXPECT_FALSE(data.has_word_statistics());

  DataCenterPb full;
  full.mutable_word_statistics()->set_total(1234);
  full.mutable_word_statistics()->set_date("2026-12-09");
  const std::string bytes = full.SerializeAsString();
  WriteBytes(file, bytes.substr(0, bytes.size() - 3));
  EXPECT_FALSE(LoadProtoFile(file, &data, kProtoFileBinary));

  // Any mode other than text reads the binary encoding.
  WriteBytes(file, bytes);
  EXPECT_TRUE(LoadProtoFile(file, &data, 7));
  EXPECT_EQ(data.word_statistics().total(), 1234);
}

TEST(LoadProtoFile, FilesAboveTheSizeCapAreRefusedUnreadWithOneLogLine) {
  const struct {
    const char* what;
    int mode;
    uint64_t size;
    bool refused;
  } cases[] = {
      {"text, one byte over", kProtoFileText, kMaxSettingsFileBytes + 1, true},
      {"binary, one byte over", kProtoFileBinary, kMaxSettingsFileBytes + 1, true},
      {"binary, at the cap", kProtoFileBinary, kMaxSettingsFileBytes, false},  // read; zeros do not parse
  };
  TempFolder temp;
  const std::wstring file = temp.File(L"imecfg.prototxt");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MakeZeroFile(file, static_cast<int64_t>(c.size));
    LogCapture log;
    ConfigPb config;
    config.mutable_sr_config()->set_language_key("keep");
    EXPECT_FALSE(LoadProtoFile(file, &config, c.mode));
    EXPECT_EQ(config.sr_config().language_key() == "keep", c.refused);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].find("is larger than") != std::string::npos, c.refused) << log.lines[0];
  }
  MakeZeroFile(file, static_cast<int64_t>(kMaxSettingsFileBytes) + 1);
  LogCapture log;
  EXPECT_EQ(LoadOrDefault(file).SerializeAsString(), Defaults().SerializeAsString());
}

TEST(LoadProtoFile, TextParseErrorsAreLogged) {
  const struct {
    const char* content;
    const char* logged;
  } cases[] = {
      {"sr_config {\n  oops: 1\n}\n", "imecfg.prototxt: line 2, column 7: "},
      {"mic_config { mic_mode: MicMode_BLE }\n", "imecfg.prototxt: Message missing required fields"},
  };
  TempFolder temp;
  const std::wstring file = temp.File(L"imecfg.prototxt");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content);
    WriteBytes(file, c.content);
    LogCapture log;
    ConfigPb config;
    EXPECT_FALSE(LoadProtoFile(file, &config, kProtoFileText));
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find(c.logged), std::string::npos) << log.lines[0];
  }
}

struct StoredFile {
  const char* what;
  int mode;
  std::function<void(const std::wstring&)> make;
};

std::function<void(const std::wstring&)> Bytes(std::string bytes) {
  return [bytes](const std::wstring& path) { WriteBytes(path, bytes); };
}

std::string StatisticsBytes() {
  DataCenterPb data;
  data.mutable_word_statistics()->set_total(41);
  data.mutable_word_statistics()->set_date("2026-12-09");
  return data.SerializeAsString();
}

// A message of the file's kind: ConfigPb for text, DataCenterPb for binary.
std::unique_ptr<google::protobuf::Message> MessageFor(int mode) {
  if (mode == kProtoFileText) return std::make_unique<ConfigPb>();
  return std::make_unique<DataCenterPb>();
}

TEST(LoadProtoFile, UnreadableFilesAreKeptAsideAndGiveTheDefaults) {
  const std::string text = "sr_config {\r\n  b_ptt: true\r\n}\r\n";
  const std::string binary_garbage("\x0A\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x01\x02", 13);
  const auto over_cap = [](const std::wstring& path) {
    MakeZeroFile(path, static_cast<int64_t>(kMaxSettingsFileBytes) + 1);
  };
  const StoredFile cases[] = {
      {"text, unknown field", kProtoFileText, Bytes(text + "not_a_field: 1\r\n")},
      {"text, NUL padding", kProtoFileText, Bytes(text + std::string(64, '\0'))},
      {"text, binary bytes", kProtoFileText, Bytes(binary_garbage)},
      {"text, over the cap", kProtoFileText, over_cap},
      // Field 1000, a varint, after the known fields.
      {"binary, unknown field", kProtoFileBinary, Bytes(StatisticsBytes() + "\xC0\x3E\x01")},
      // Field 9 inside word_statistics.
      {"binary, nested unknown field", kProtoFileBinary, Bytes(std::string("\x0A\x04\x08\x05\x48\x01", 6))},
      {"binary, NUL padding", kProtoFileBinary, Bytes(StatisticsBytes() + std::string(64, '\0'))},
      {"binary, garbage", kProtoFileBinary, Bytes(binary_garbage)},
      {"binary, text in it", kProtoFileBinary, Bytes("word_statistics { total: 3 }")},
      {"binary, over the cap", kProtoFileBinary, over_cap},
  };
  TempFolder temp;
  const std::wstring file = temp.File(L"settings.prototxt");
  const std::wstring aside = file + L".bad";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.make(file);
    const std::string stored = ReadBytes(file);
    WriteBytes(aside, "an older unreadable file");

    LogCapture log;
    auto message = MessageFor(c.mode);
    std::wstring kept_as = L"stale";
    EXPECT_FALSE(LoadProtoFile(file, message.get(), c.mode, &kept_as));
    EXPECT_EQ(message->ByteSizeLong(), 0u);  // nothing half-read
    EXPECT_EQ(kept_as, aside);
    ASSERT_EQ(log.lines.size(), 1u);
    // Names the file first, then where it was kept.
    const std::string& line = log.lines[0];
    EXPECT_LT(line.find("settings.prototxt"), line.find("kept as ")) << line;
    EXPECT_EQ(line.substr(line.size() - 22), "\\settings.prototxt.bad") << line;

    ASSERT_TRUE(c.mode == kProtoFileText ? SaveProtoText(file, Defaults()) : SaveProtoFile(file, DataCenterPb()));
    EXPECT_EQ(ReadBytes(aside), stored);
    EXPECT_EQ(FilesIn(temp.path()), 2u);
  }
}

TEST(LoadProtoFile, ReadableOrAbsentFilesAreNeverKeptAside) {
  const auto absent = [](const std::wstring&) {};
  const StoredFile cases[] = {
      {"text", kProtoFileText, Bytes("sr_config {\r\n  b_ptt: false\r\n}\r\n")},
      {"empty text", kProtoFileText, Bytes("")},
      {"binary", kProtoFileBinary, Bytes(StatisticsBytes())},
      {"empty binary", kProtoFileBinary, Bytes("")},
      {"absent text", kProtoFileText, absent},
      {"absent binary", kProtoFileBinary, absent},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder temp;
    const std::wstring file = temp.File(L"settings.prototxt");
    c.make(file);
    LogCapture log;
    auto message = MessageFor(c.mode);
    std::wstring kept_as = L"stale";
    LoadProtoFile(file, message.get(), c.mode, &kept_as);
    EXPECT_TRUE(kept_as.empty());
    EXPECT_TRUE(log.lines.empty());
    ASSERT_TRUE(c.mode == kProtoFileText ? SaveProtoText(file, *message) : SaveProtoFile(file, *message));
    EXPECT_EQ(FilesIn(temp.path()), 1u);
  }
}

TEST(SaveProtoFile, WritesBinaryAndReplacesTheOldFile) {
  TempFolder temp;
  const std::wstring file = temp.File(L"DataCenter.prototxt");
  WriteBytes(file, "old content that is longer than the new one");
  DataCenterPb data;
  data.mutable_word_statistics()->set_today(3);
  ASSERT_TRUE(SaveProtoFile(file, data));
  EXPECT_EQ(ReadBytes(file), data.SerializeAsString());

  DataCenterPb loaded;
  ASSERT_TRUE(LoadProtoFile(file, &loaded, kProtoFileBinary));
  EXPECT_EQ(loaded.word_statistics().today(), 3);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 1);
}

TEST(SaveProtoFile, FailureLeavesTheOldFileIntact) {
  TempFolder temp;
  const std::wstring file = temp.File(L"imecfg.bin");
  WriteBytes(file, "previous");

  ConfigPb incomplete;  // required mic fields missing: cannot be serialised
  incomplete.mutable_mic_config()->set_mic_mode(MicMode_BLE);
  EXPECT_FALSE(SaveProtoFile(file, incomplete));
  EXPECT_EQ(ReadBytes(file), "previous");

  // The temporary file cannot be written (a folder of its name is in the way).
  const std::wstring temporary = TemporaryPathFor(file);
  ASSERT_TRUE(CreateDirectoryW(temporary.c_str(), nullptr));
  EXPECT_FALSE(SaveProtoFile(file, Defaults()));
  RemoveDirectoryW(temporary.c_str());
  EXPECT_EQ(ReadBytes(file), "previous");

  // The replace step fails (the target is a folder): the written temporary file goes away.
  const std::wstring folder = temp.File(L"folder");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  EXPECT_FALSE(SaveProtoFile(folder, Defaults()));
  EXPECT_TRUE(IsFolder(folder));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 2);

  EXPECT_FALSE(SaveProtoFile(temp.File(L"no\\such\\folder.bin"), Defaults()));
}

TEST(SaveProtoText, PrintsAsciiWithCrLfAndReadsBackEqual) {
  TempFolder temp;
  const std::wstring file = temp.File(L"imecfg.prototxt");
  WriteBytes(file, std::string(5000, 'o'));  // longer than the new text
  ConfigPb config = Defaults();
  config.mutable_sr_config()->clear_accent_key();
  config.mutable_translate_config()->set_src_key("");
  ASSERT_TRUE(SaveProtoText(file, config));

  const std::string bytes = ReadBytes(file);
  std::string expected;
  google::protobuf::TextFormat::PrintToString(config, &expected);
  std::string lf_only = bytes;
  lf_only.erase(std::remove(lf_only.begin(), lf_only.end(), '\r'), lf_only.end());
  EXPECT_EQ(lf_only, expected);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), std::count(bytes.begin(), bytes.end(), '\n'));
  EXPECT_EQ(bytes.find("\r\n"), bytes.find('\n') - 1);
  EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) { return c > 0; }));
  EXPECT_NE(bytes.find("  name: \"\\302\\363"), std::string::npos);  // GBK bytes as octal escapes
  EXPECT_EQ(bytes.find("accent_key"), std::string::npos);                 // absent field not printed
  EXPECT_NE(bytes.find("src_key: \"\"\r\n"), std::string::npos);            // present and empty

  ConfigPb loaded;
  ASSERT_TRUE(LoadProtoFile(file, &loaded, kProtoFileText));
  EXPECT_EQ(loaded.SerializeAsString(), config.SerializeAsString());
  EXPECT_EQ(FilesIn(temp.path()), 1u);
}

TEST(SaveProtoText, FailureIsReportedAndLeavesTheOldFileWhole) {
  TempFolder temp;
  const std::wstring file = temp.File(L"imecfg.prototxt");
  WriteBytes(file, "previous settings");

  // Nothing can be written beside the file (a folder holds the temporary file's name).
  const std::wstring temporary = TemporaryPathFor(file);
  ASSERT_TRUE(CreateDirectoryW(temporary.c_str(), nullptr));
  EXPECT_FALSE(SaveProtoText(file, Defaults()));
  EXPECT_EQ(ReadBytes(file), "previous settings");
  RemoveDirectoryW(temporary.c_str());
  EXPECT_EQ(FilesIn(temp.path()), 1u);

  // The target cannot be replaced (a folder of its name): the written text goes away.
  const std::wstring folder = temp.File(L"folder");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  EXPECT_FALSE(SaveProtoText(folder, Defaults()));
  EXPECT_TRUE(IsFolder(folder));
  EXPECT_EQ(FilesIn(temp.path()), 2u);

  EXPECT_FALSE(SaveProtoText(temp.File(L"no\\such\\imecfg.prototxt"), Defaults()));
}

TEST(SaveProtoFile, KilledSavesLeaveOneTemporaryFileThatTheNextSaveReplaces) {
  TempFolder temp;
  const std::wstring file = temp.File(L"DataCenter.prototxt");
  WriteBytes(file, "previous");
  // Saves killed half-way, on other threads as in other processes: each leaves its
  // temporary file behind.
  for (int killed = 0; killed < 3; ++killed) {
    std::thread([&] { WriteBytes(TemporaryPathFor(file), std::string(100000, 'x')); }).join();
    EXPECT_LE(FilesIn(temp.path()), 2u) << "after kill " << killed;
  }
  EXPECT_EQ(ReadBytes(file), "previous");

  DataCenterPb data;
  data.mutable_word_statistics()->set_total(7);
  ASSERT_TRUE(SaveProtoFile(file, data));
  EXPECT_EQ(ReadBytes(file), data.SerializeAsString());
  EXPECT_EQ(FilesIn(temp.path()), 1u);
}
