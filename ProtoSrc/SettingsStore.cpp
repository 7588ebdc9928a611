#include "SettingsStore.h"

#include <windows.h>
#include <shlobj.h>

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

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string utf8(size > 0 ? size : 0, '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr,
                        nullptr);
  return utf8;
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

// Every unknown field takes at least its tag's byte, so dropping them shows in the size.
bool HasUnknownFields(google::protobuf::Message* message) {
  const size_t size = message->ByteSizeLong();
  message->DiscardUnknownFields();
  return message->ByteSizeLong() != size;
}

// Parses the bytes into the message; returns what is wrong with them, empty when they
// parse. A message that fails is cleared, so nothing half-read reaches a later save.
std::string ParseProblem(const std::string& bytes, google::protobuf::Message* message, int mode) {
  std::string problem;
  if (mode == kProtoFileText) {
    FirstParseError error;
    google::protobuf::TextFormat::Parser parser;
    parser.RecordErrorsTo(&error);
    if (!parser.ParseFromString(bytes, message)) problem = error.text().empty() ? " does not parse" : error.text();
  } else if (!message->ParseFromString(bytes)) {
    problem = " is not a valid binary message";
  } else if (HasUnknownFields(message)) {
    problem = " holds fields this program does not know";
  }
  if (!problem.empty()) message->Clear();
  return problem;
}

// Moves an unreadable file out of the way of the next save; one log line names both files.
void KeepAside(const std::wstring& path, const std::string& problem, std::wstring* kept_aside_as) {
  const std::wstring aside = KeptAsidePathFor(path);
  const bool moved = MoveFileExW(path.c_str(), aside.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  LogStoreProblem("Settings file " + Utf8(path) + problem + (moved ? "; kept as " : "; could not be kept as ") +
                  Utf8(aside));
  if (moved && kept_aside_as) *kept_aside_as = aside;
}

}  // namespace

std::wstring KeptAsidePathFor(const std::wstring& path) { return path + L".bad"; }

bool LoadProtoFile(const std::wstring& path, google::protobuf::Message* message, int mode,
                   std::wstring* kept_aside_as) {
  if (kept_aside_as) kept_aside_as->clear();
  std::string bytes;
  std::string problem;
  switch (ReadWholeFile(path, kMaxSettingsFileBytes, &bytes)) {
    case ReadResult::kRead: problem = ParseProblem(bytes, message, mode); break;
    case ReadResult::kTooLarge:
      problem = " is larger than " + std::to_string(kMaxSettingsFileBytes) + " bytes";
      break;
    default: return false;
  }
  if (problem.empty()) return true;
  KeepAside(path, problem, kept_aside_as);
  return false;
}

bool SaveProtoFile(const std::wstring& path, const google::protobuf::Message& message) {
  // A message missing required fields would be written but could never be read back.
  std::string bytes;
  return message.IsInitialized() && message.SerializeToString(&bytes) &&
         WriteFileAtomically(path, bytes);
}

bool SaveProtoText(const std::wstring& path, const google::protobuf::Message& message) {
  std::string text;
  if (!google::protobuf::TextFormat::PrintToString(message, &text)) return false;
  std::string crlf;
  crlf.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return WriteFileAtomically(path, crlf);
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
