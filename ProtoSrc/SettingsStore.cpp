#include "SettingsStore.h"

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>

#include <google/protobuf/io/tokenizer.h>
#include <google/protobuf/message.h>
#include <google/protobuf/text_format.h>

#include "AtomicFile.h"
#include "StoreLog.h"

using ORVANE::Config::ConfigPb;

std::wstring GetAppDataFolder() {
  LPITEMIDLIST item = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &item))) return std::wstring();
  wchar_t folder[MAX_PATH] = L"";
  const bool named = SHGetPathFromIDListW(item, folder) != FALSE;
  CoTaskMemFree(item);
  if (!named || folder[0] == L'\0') return std::wstring();
  return std::wstring(folder) + L"\\Tavri\\Kelvane";
}

bool CreateFolderPath(const std::wstring& path) {
  std::wstring full = path;
  if (!full.empty() && full.back() != L'\\') full += L'\\';

  size_t start = 0;
  for (size_t slash = full.find(L'\\'); slash != std::wstring::npos;
       slash = full.find(L'\\', start)) {
    if (slash != start) {
      const std::wstring prefix = full.substr(0, slash);
      if (GetFileAttributesW(prefix.c_str()) == INVALID_FILE_ATTRIBUTES &&
          !CreateDirectoryW(prefix.c_str(), nullptr)) {
        return false;
      }
    }
    start = slash + 1;
  }
  return true;
}

namespace {

// Protobuf's messages are ASCII; bytes of the file they quote may be anything.
std::wstring Wide(const std::string& text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(size > 0 ? size : 0, L'\0');
  if (size > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

// Keeps the first problem the text parser finds, with its place when it has one.
class FirstParseError : public google::protobuf::io::ErrorCollector {
 public:
  // Errors about the whole message (a missing required field) come without a place.
  void AddError(int line, google::protobuf::io::ColumnNumber column, const std::string& message) override {
    if (!text_.empty()) return;
    const std::string place =
        line < 0 ? "" : ": line " + std::to_string(line + 1) + ", column " + std::to_string(column + 1);
    text_ = place + ": " + message;
  }

  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// Parses the bytes into the message; returns what is wrong with them, empty when they
// parse. A message that fails holds what was read before the error.
std::string ParseProblem(const std::string& bytes, google::protobuf::Message* message, int mode) {
  if (mode == kProtoFileText) {
    FirstParseError error;
    google::protobuf::TextFormat::Parser parser;
    parser.RecordErrorsTo(&error);
    if (parser.ParseFromString(bytes, message)) return std::string();
    return error.text().empty() ? " does not parse" : error.text();
  }
  return message->ParseFromString(bytes) ? std::string() : " is not a valid binary message";
}

// The file as a load finds it.
struct FileOnDisk {
  ReadResult read;
  std::string bytes;     // for kRead
  std::wstring problem;  // why it does not load; empty when it loads or is absent
};

// Reads the file into the message, which is touched only when the file could be read.
FileOnDisk ReadFileOnDisk(const std::wstring& path, google::protobuf::Message* message, int mode) {
  FileOnDisk file;
  file.read = ReadWholeFile(path, kMaxSettingsFileBytes, &file.bytes);
  switch (file.read) {
    case ReadResult::kRead: file.problem = Wide(ParseProblem(file.bytes, message, mode)); break;
    case ReadResult::kCannotRead: file.problem = L" cannot be opened"; break;
    case ReadResult::kTooLarge:
      file.problem = L" is larger than " + std::to_wstring(kMaxSettingsFileBytes) + L" bytes";
      break;
    case ReadResult::kAbsent: break;
  }
  return file;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Whether the copy holds the file's bytes: those read, or the whole file when it was too
// large to read.
bool HoldsTheBytes(const std::wstring& copy, const std::wstring& path, const FileOnDisk& file) {
  if (file.read == ReadResult::kTooLarge) return SameFileBytes(copy, path);
  std::string held;
  return ReadWholeFile(copy, file.bytes.size(), &held) == ReadResult::kRead && held == file.bytes;
}

bool MakeCopy(const std::wstring& copy, const std::wstring& path, const FileOnDisk& file) {
  if (file.read == ReadResult::kTooLarge) return CopyToNewFileAtomically(path, copy);
  return CreateFileAtomically(copy, file.bytes);
}

// The name that holds the file's bytes, found or made now; empty when none can be had.
std::wstring KeepCopy(const std::wstring& path, const FileOnDisk& file) {
  if (file.read == ReadResult::kCannotRead) return std::wstring();
  for (int number = 0; number < kMaxKeptCopies; ++number) {
    const std::wstring copy = KeptCopyPathFor(path, number);
    if (Exists(copy)) {
      if (HoldsTheBytes(copy, path, file)) return copy;
      continue;
    }
    if (MakeCopy(copy, path, file)) return copy;
    // Another program may have taken the name meanwhile; any other failure ends the search.
    if (!Exists(copy)) break;
  }
  return std::wstring();
}

// Before a save replaces the file at path: a file there that does not load as the kind of
// message saved is copied first. False when it could not be.
bool KeepUnloadableFile(const std::wstring& path, const google::protobuf::Message& kind, int mode,
                        KeptCopy* kept) {
  std::unique_ptr<google::protobuf::Message> probe(kind.New());
  const FileOnDisk file = ReadFileOnDisk(path, probe.get(), mode);
  if (file.problem.empty()) return true;
  const std::wstring copy = KeepCopy(path, file);
  const std::wstring line = L"Settings file " + path + file.problem;
  if (copy.empty()) {
    LogStoreProblem(line + L"; no copy of it could be made, so it is not replaced");
    if (kept) kept->refused = true;
    return false;
  }
  LogStoreProblem(line + L"; kept as " + copy);
  if (kept) kept->path = copy;
  return true;
}

std::string WithCrLf(const std::string& text) {
  std::string crlf;
  crlf.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return crlf;
}

}  // namespace

std::wstring KeptCopyPathFor(const std::wstring& path, int number) {
  return number == 0 ? path + L".bad" : path + L"." + std::to_wstring(number) + L".bad";
}

bool LoadProtoFile(const std::wstring& path, google::protobuf::Message* message, int mode, bool* unreadable) {
  const FileOnDisk file = ReadFileOnDisk(path, message, mode);
  if (unreadable) *unreadable = !file.problem.empty();
  if (!file.problem.empty()) LogStoreProblem(L"Settings file " + path + file.problem);
  return file.read == ReadResult::kRead && file.problem.empty();
}

bool SaveProtoFile(const std::wstring& path, const google::protobuf::Message& message, KeptCopy* kept) {
  if (kept) *kept = KeptCopy();
  // A message missing required fields would be written but could never be read back.
  std::string bytes;
  return message.IsInitialized() && message.SerializeToString(&bytes) &&
         KeepUnloadableFile(path, message, kProtoFileBinary, kept) && WriteFileAtomically(path, bytes);
}

bool SaveProtoText(const std::wstring& path, const google::protobuf::Message& message, KeptCopy* kept) {
  if (kept) *kept = KeptCopy();
  std::string text;
  return google::protobuf::TextFormat::PrintToString(message, &text) &&
         KeepUnloadableFile(path, message, kProtoFileText, kept) && WriteFileAtomically(path, WithCrLf(text));
}

void SetDefaultConfig(ConfigPb* config) {
  auto* ctl = config->mutable_ctl_config();
  ctl->set_ctl_mode(ORVANE::Config::CtlMode_HID);
  ctl->mutable_device_descriptor()->set_path(
      "\\\\?\\hid#vid_e4a9&pid_50d6&mi_05#7&138a9600&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}");

  auto* mic = config->mutable_mic_config();
  mic->set_mic_mode(ORVANE::Config::MicMode_Gen);
  // "麦克风 (Vornix)" in GBK.
  mic->mutable_device_descriptor()->set_name("\xC2\xF3\xBF\xCB\xB7\xE7 (Vornix)");

  auto* sr = config->mutable_sr_config();
  sr->set_reco_engine_key("ISRProcessor");
  sr->set_language_key("zh_cn");
  sr->set_accent_key("mandarin");
  sr->set_b_ptt(true);
  sr->set_b_append_enter(false);
  sr->set_threshold_of_vad(0);

  auto* translate = config->mutable_translate_config();
  translate->set_b_translate(false);
  translate->set_src_key("cn");
  translate->set_dst_key("en");
}
