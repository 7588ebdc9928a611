#include "SettingsStore.h"

#include <windows.h>
#include <shlobj.h>

#include <google/protobuf/text_format.h>

#include "AtomicFile.h"

using ORVANE::Config::ConfigPb;

std::wstring GetAppDataFolder() {
  wchar_t folder[MAX_PATH] = L"";
  LPITEMIDLIST item = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &item))) {
    SHGetPathFromIDListW(item, folder);
    CoTaskMemFree(item);
  }
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

bool LoadProtoFile(const std::wstring& path, google::protobuf::Message* message, int mode) {
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return false;
  if (mode == kProtoFileText) return google::protobuf::TextFormat::ParseFromString(*bytes, message);
  return message->ParseFromString(*bytes);
}

bool SaveProtoFile(const std::wstring& path, const google::protobuf::Message& message) {
  // A message missing required fields would be written but could never be read back.
  std::string bytes;
  return message.IsInitialized() && message.SerializeToString(&bytes) &&
         WriteFileAtomically(path, bytes);
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
