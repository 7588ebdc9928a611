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
  LogCapture() : previous_(SetStoreLogSink([this](const std::wstring& line) { lines.push_back(line); })) {}
  ~LogCapture() { SetStoreLogSink(previous_); }

  std::vector<std::wstring> lines;

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
       "ctl_config { device_descriptor { name: \"kept\" } }\nmic_config { mic_mode: MicMode_BLE }\n",
       false,
       [](const ConfigPb& c) {
         EXPECT_EQ(c.ctl_config().device_descriptor().name(), "kept");
         EXPECT_EQ(c.mic_config().mic_mode(), MicMode_Gen);
       }},
      {"parse error after a field", "software_config { invalid: \"x\" }\nsr_config { oops: 1 }", false,
       [](const ConfigPb& c) {
         EXPECT_EQ(c.software_config().invalid(), "x");  // read before the error, not defaulted
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
    c.check(LoadOrDefault(file));
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

  // Cut off inside the date: the total before it was read.
  DataCenterPb full;
  full.mutable_word_statistics()->set_total(1234);
  full.mutable_word_statistics()->set_date("2026-12-09");
  const std::string bytes = full.SerializeAsString();
  WriteBytes(file, bytes.substr(0, bytes.size() - 3));
  EXPECT_FALSE(LoadProtoFile(file, &data, kProtoFileBinary));
  EXPECT_EQ(data.word_statistics().total(), 1234);

  // Any mode other than text reads the binary encoding.
  WriteBytes(file, bytes);
  EXPECT_TRUE(LoadProtoFile(file, &data, 7));
  EXPECT_EQ(data.word_statistics().total(), 1234);
}

// A file from a newer build: fields this one does not know, at the top and inside a
// message, load with the rest and are written back by a save.
TEST(LoadProtoFile, BinaryFieldsThisBuildDoesNotKnowAreKeptAndSavedBack) {
  TempFolder temp;
  const std::wstring file = temp.File(L"DataCenter.prototxt");
  // word_statistics { total: 5, field 9: 1 }, then field 1000: 1.
  const std::string newer("\x0A\x04\x08\x05\x48\x01\xC0\x3E\x01", 9);
  WriteBytes(file, newer);
  LogCapture log;
  DataCenterPb data;
  bool unreadable = true;
  ASSERT_TRUE(LoadProtoFile(file, &data, kProtoFileBinary, &unreadable));
  EXPECT_FALSE(unreadable);
  EXPECT_EQ(data.word_statistics().total(), 5);

  data.mutable_word_statistics()->set_total(6);
  KeptCopy kept;
  ASSERT_TRUE(SaveProtoFile(file, data, &kept));
  EXPECT_TRUE(kept.path.empty());
  EXPECT_EQ(ReadBytes(file), std::string("\x0A\x04\x08\x06\x48\x01\xC0\x3E\x01", 9));
  EXPECT_EQ(FilesIn(temp.path()), 1u);
  EXPECT_TRUE(log.lines.empty());
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
    EXPECT_EQ(log.lines[0].find(L"is larger than") != std::wstring::npos, c.refused) << log.lines[0];
  }
  MakeZeroFile(file, static_cast<int64_t>(kMaxSettingsFileBytes) + 1);
  LogCapture log;
  EXPECT_EQ(LoadOrDefault(file).SerializeAsString(), Defaults().SerializeAsString());
}

TEST(LoadProtoFile, TextParseErrorsAreLogged) {
  const struct {
    const char* content;
    const wchar_t* logged;
  } cases[] = {
      {"sr_config {\n  oops: 1\n}\n", L"imecfg.prototxt: line 2, column 7: "},
      {"mic_config { mic_mode: MicMode_BLE }\n", L"imecfg.prototxt: Message missing required fields"},
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
    EXPECT_NE(log.lines[0].find(c.logged), std::wstring::npos) << log.lines[0];
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

// Saves the empty message of the file's kind.
bool SaveEmpty(const std::wstring& path, int mode, KeptCopy* kept = nullptr) {
  return mode == kProtoFileText ? SaveProtoText(path, ConfigPb(), kept) : SaveProtoFile(path, DataCenterPb(), kept);
}

const std::string kBinaryGarbage("\x0A\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x01\x02", 13);

void MakeOverTheCap(const std::wstring& path) { MakeZeroFile(path, static_cast<int64_t>(kMaxSettingsFileBytes) + 1); }

// A file that does not load stays where it is, whoever loads it; the save that replaces it
// keeps its bytes first under the ".bad" name, with one line naming both files.
TEST(LoadProtoFile, UnreadableFilesStayUntilTheSaveThatReplacesThemKeepsACopy) {
  const std::string text = "sr_config {\r\n  b_ptt: true\r\n}\r\n";
  const StoredFile cases[] = {
      {"text, unknown field", kProtoFileText, Bytes(text + "not_a_field: 1\r\n")},
      {"text, NUL padding", kProtoFileText, Bytes(text + std::string(64, '\0'))},
      {"text, binary bytes", kProtoFileText, Bytes(kBinaryGarbage)},
      {"text, over the cap", kProtoFileText, MakeOverTheCap},
      {"binary, NUL padding", kProtoFileBinary, Bytes(StatisticsBytes() + std::string(64, '\0'))},
      {"binary, garbage", kProtoFileBinary, Bytes(kBinaryGarbage)},
      {"binary, text in it", kProtoFileBinary, Bytes("word_statistics { total: 3 }")},
      {"binary, over the cap", kProtoFileBinary, MakeOverTheCap},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder temp;
    const std::wstring file = temp.File(L"settings.prototxt");
    c.make(file);
    const std::string stored = ReadBytes(file);

    LogCapture log;
    for (int load = 0; load < 2; ++load) {
      auto message = MessageFor(c.mode);
      bool unreadable = false;
      EXPECT_FALSE(LoadProtoFile(file, message.get(), c.mode, &unreadable));
      EXPECT_TRUE(unreadable);
    }
    EXPECT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(ReadBytes(file), stored);
    EXPECT_EQ(FilesIn(temp.path()), 1u);

    KeptCopy kept;
    ASSERT_TRUE(SaveEmpty(file, c.mode, &kept));
    EXPECT_FALSE(kept.refused);
    EXPECT_EQ(kept.path, file + L".bad");
    EXPECT_EQ(ReadBytes(kept.path), stored);
    EXPECT_EQ(ReadBytes(file).size(), 0u);
    EXPECT_EQ(FilesIn(temp.path()), 2u);
    ASSERT_EQ(log.lines.size(), 3u);
    // Names the file first, then where it was kept.
    const std::wstring& line = log.lines[2];
    EXPECT_LT(line.find(L"settings.prototxt"), line.find(L"kept as ")) << line;
    EXPECT_EQ(line.substr(line.size() - 22), L"\\settings.prototxt.bad") << line;
  }
}

TEST(LoadProtoFile, ReadableOrAbsentFilesAreNeverCopied) {
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
    bool unreadable = true;
    LoadProtoFile(file, message.get(), c.mode, &unreadable);
    EXPECT_FALSE(unreadable);
    KeptCopy kept;
    ASSERT_TRUE(c.mode == kProtoFileText ? SaveProtoText(file, *message, &kept) : SaveProtoFile(file, *message, &kept));
    EXPECT_TRUE(kept.path.empty());
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(FilesIn(temp.path()), 1u);
  }
}

// Every incident keeps its own copy under a free name; a copy already made is not made
// again when a save is tried once more; names taken by anything else are passed over.
TEST(SaveProtoText, EachUnreadableFileKeepsItsOwnCopy) {
  TempFolder temp;
  const std::wstring file = temp.File(L"imecfg.prototxt");
  const std::string first = "sr_config { first: 1 }";
  const std::string second = "sr_config { second: 2 }";
  LogCapture log;
  KeptCopy kept;

  WriteBytes(file, first);
  ASSERT_TRUE(SaveProtoText(file, Defaults(), &kept));
  EXPECT_EQ(kept.path, file + L".bad");

  // The second incident; its first save cannot replace the file (held open), the next can.
  WriteBytes(file, second);
  ASSERT_TRUE(CreateDirectoryW((file + L".1.bad").c_str(), nullptr));
  HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(SaveProtoText(file, Defaults(), &kept));
  CloseHandle(held);
  EXPECT_FALSE(kept.refused);
  EXPECT_EQ(kept.path, file + L".2.bad");
  EXPECT_EQ(ReadBytes(file), second);
  ASSERT_TRUE(SaveProtoText(file, Defaults(), &kept));
  EXPECT_EQ(kept.path, file + L".2.bad");

  EXPECT_EQ(ReadBytes(file + L".bad"), first);
  EXPECT_EQ(ReadBytes(file + L".2.bad"), second);
  EXPECT_EQ(FilesIn(temp.path()), 4u);  // the file, two copies, the folder in the way
  ConfigPb saved;
  EXPECT_TRUE(LoadProtoFile(file, &saved, kProtoFileText));
}

// A file over the cap is compared piece by piece: a copy of it already made is not made
// again, and one that differs in its last byte is passed over.
TEST(SaveProtoFile, AFileOverTheCapIsCopiedOnce) {
  TempFolder temp;
  const std::wstring file = temp.File(L"DataCenter.prototxt");
  MakeOverTheCap(file);
  MakeOverTheCap(file + L".bad");
  HANDLE other = CreateFileW((file + L".bad").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER last;
  last.QuadPart = static_cast<int64_t>(kMaxSettingsFileBytes);
  DWORD written = 0;
  ASSERT_TRUE(SetFilePointerEx(other, last, nullptr, FILE_BEGIN) && WriteFile(other, "x", 1, &written, nullptr));
  CloseHandle(other);

  LogCapture log;
  KeptCopy kept;
  HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(SaveProtoFile(file, DataCenterPb(), &kept));  // copied, but not replaced
  CloseHandle(held);
  EXPECT_EQ(kept.path, file + L".1.bad");
  ASSERT_TRUE(SaveProtoFile(file, DataCenterPb(), &kept));
  EXPECT_EQ(kept.path, file + L".1.bad");
  EXPECT_EQ(FilesIn(temp.path()), 3u);
  EXPECT_EQ(ReadBytes(file), "");
}

// Where no copy can be made, the save writes nothing and says so; the file stays as it is.
TEST(SaveProtoText, NoCopyNoSave) {
  const std::string unreadable = "sr_config { unreadable: 1 }";
  // Each blocks the copy; a handle it returns is held until the save is over.
  const struct {
    const char* what;
    std::function<HANDLE(const std::wstring& file)> block;
  } cases[] = {
      // Opened without read sharing; deleting it, and so replacing it, stays allowed.
      {"the file cannot be read",
       [](const std::wstring& file) {
         return CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
       }},
      {"the copy cannot be written",
       [](const std::wstring& file) {
         EXPECT_TRUE(CreateDirectoryW(TemporaryPathFor(file + L".bad").c_str(), nullptr));
         return INVALID_HANDLE_VALUE;
       }},
      {"every name is taken",
       [](const std::wstring& file) {
         for (int number = 0; number < kMaxKeptCopies; ++number) {
           EXPECT_TRUE(CreateDirectoryW(KeptCopyPathFor(file, number).c_str(), nullptr));
         }
         return INVALID_HANDLE_VALUE;
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder temp;
    const std::wstring file = temp.File(L"imecfg.prototxt");
    WriteBytes(file, unreadable);
    const HANDLE held = c.block(file);
    const size_t files = FilesIn(temp.path());
    LogCapture log;
    KeptCopy kept;
    EXPECT_FALSE(SaveProtoText(file, Defaults(), &kept));
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    EXPECT_TRUE(kept.refused);
    EXPECT_TRUE(kept.path.empty());
    EXPECT_EQ(FilesIn(temp.path()), files);
    EXPECT_EQ(ReadBytes(file), unreadable);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find(L"no copy of it could be made"), std::wstring::npos) << log.lines[0];
  }
}

// Only the bytes that failed are kept: a file that another program has saved since the
// load is replaced without a copy.
TEST(SaveProtoText, AFileSavedSinceTheFailedLoadIsNotCopied) {
  TempFolder temp;
  const std::wstring file = temp.File(L"imecfg.prototxt");
  WriteBytes(file, "sr_config { oops: 1 }");
  ConfigPb config;
  bool unreadable = false;
  LogCapture log;
  ASSERT_FALSE(LoadProtoFile(file, &config, kProtoFileText, &unreadable));
  ASSERT_TRUE(unreadable);
  WriteBytes(file, "sr_config {\r\n  b_ptt: false\r\n}\r\n");  // another program's save
  KeptCopy kept;
  ASSERT_TRUE(SaveProtoText(file, config, &kept));
  EXPECT_TRUE(kept.path.empty());
  EXPECT_EQ(FilesIn(temp.path()), 1u);
}

TEST(SaveProtoFile, WritesBinaryAndReplacesTheOldFile) {
  TempFolder temp;
  const std::wstring file = temp.File(L"DataCenter.prototxt");
  DataCenterPb old;
  old.mutable_word_statistics()->set_date("a date longer than the new message");
  WriteBytes(file, old.SerializeAsString());
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
  const std::string previous = Defaults().SerializeAsString();
  WriteBytes(file, previous);

  ConfigPb incomplete;  // required mic fields missing: cannot be serialised
  incomplete.mutable_mic_config()->set_mic_mode(MicMode_BLE);
  EXPECT_FALSE(SaveProtoFile(file, incomplete));
  EXPECT_EQ(ReadBytes(file), previous);

  // The temporary file cannot be written (a folder of its name is in the way).
  const std::wstring temporary = TemporaryPathFor(file);
  ASSERT_TRUE(CreateDirectoryW(temporary.c_str(), nullptr));
  EXPECT_FALSE(SaveProtoFile(file, Defaults()));
  RemoveDirectoryW(temporary.c_str());
  EXPECT_EQ(ReadBytes(file), previous);

  // The replace step fails (the file is held open by a program that does not share its
  // deletion): the written temporary file goes away.
  HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(SaveProtoFile(file, ConfigPb()));
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(file), previous);
  EXPECT_EQ(FilesIn(temp.path()), 1u);

  // The target is a folder.
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
  WriteBytes(file, "# " + std::string(5000, 'o') + "\r\n");  // longer than the new text
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
  const std::string previous = "sr_config {\r\n  b_ptt: false\r\n}\r\n";
  WriteBytes(file, previous);

  // Nothing can be written beside the file (a folder holds the temporary file's name).
  const std::wstring temporary = TemporaryPathFor(file);
  ASSERT_TRUE(CreateDirectoryW(temporary.c_str(), nullptr));
  EXPECT_FALSE(SaveProtoText(file, Defaults()));
  EXPECT_EQ(ReadBytes(file), previous);
  RemoveDirectoryW(temporary.c_str());
  EXPECT_EQ(FilesIn(temp.path()), 1u);

  // The target cannot be replaced (a folder of its name).
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
  WriteBytes(file, StatisticsBytes());
  // Saves killed half-way, on other threads as in other processes: each leaves its
  // temporary file behind.
  for (int killed = 0; killed < 3; ++killed) {
    std::thread([&] { WriteBytes(TemporaryPathFor(file), std::string(100000, 'x')); }).join();
    EXPECT_LE(FilesIn(temp.path()), 2u) << "after kill " << killed;
  }
  EXPECT_EQ(ReadBytes(file), StatisticsBytes());

  DataCenterPb data;
  data.mutable_word_statistics()->set_total(7);
  ASSERT_TRUE(SaveProtoFile(file, data));
  EXPECT_EQ(ReadBytes(file), data.SerializeAsString());
  EXPECT_EQ(FilesIn(temp.path()), 1u);
}
