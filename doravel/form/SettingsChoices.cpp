#include "form/SettingsChoices.h"

#include <cstdint>
#include <cwctype>

#include "BuiltinLists.h"
#include "base/StringToInt.h"
#include "devices/DeviceEnumeration.h"
#include "settings/SettingsFile.h"
#include "tessik/TessikService.h"

using ORVANE::Config::ConfigPb;
using ORVANE::Config::TranslateSets;

const wchar_t kNoTranslationForLanguage[] = L"检测到当前识别语言不支持翻译功能";
const wchar_t kTranslationToSameLanguage[] = L"检测到当前翻译输入语言和输出语言相同";

namespace {

const char kModeGeneral[] = "MicMode_Gen";
const char kModeBle[] = "MicMode_BLE";

std::wstring Wide(const std::string& text) { return CTessikService::StringToWString(text); }
std::string Narrow(const std::wstring& text) { return CTessikService::WStringToString(text); }

ChoiceItem Item(const std::string& display_name, const char* key, const std::string& value) {
  ChoiceItem item{Wide(display_name), {}};
  item.attributes.Set(key, value);
  return item;
}

// Adds the item; it becomes the current one when its value is the configured one (the last
// such item wins).
void Add(ChoiceList* list, ChoiceItem item, bool configured) {
  list->items.push_back(std::move(item));
  if (configured) list->current = static_cast<int>(list->items.size()) - 1;
}

}  // namespace

std::wstring BleItemText(const std::wstring& name, const std::wstring& address, bool connected) {
  std::wstring shown;
  for (size_t i = 0; i < address.size(); ++i) {
    if (i > 0 && i % 2 == 0) shown += L':';
    shown += static_cast<wchar_t>(std::towupper(address[i]));
  }
  return name + L" [" + shown + L"]-" + (connected ? L"Connect" : L"Disconnect");
}

std::wstring StepNoiseText(const std::wstring& text, int step) {
  int value = 0;
  base::StringToInt(text.data(), text.data() + text.size(), &value);
  const long long next = static_cast<long long>(value) + step;
  return std::to_wstring(next < 0 ? 0 : next > INT32_MAX ? INT32_MAX : next);
}

SettingsChoices::SettingsChoices() {
  LoadStableConfig(&stable_);
  LoadSettings(&settings_, &settings_unreadable_);
  FillMicDevices();
  FillRecoEngines();
  FillInputLanguages();
}

bool SettingsChoices::ticked(Tick tick) const {
  switch (tick) {
    case Tick::kAppendEnter: return settings_.sr_config().b_append_enter();
    case Tick::kPtt: return settings_.sr_config().b_ptt();
    case Tick::kTranslate: return settings_.translate_config().b_translate();
  }
  return false;
}

void SettingsChoices::FillMicDevices() {
  const std::wstring current_name = Wide(settings_.mic_config().device_descriptor().name());
  ChoiceList& list = mutable_list(Choice::kMicDev);
  std::vector<std::wstring> wave_in_names;
  EnumWaveInNames(&wave_in_names);
  for (const std::wstring& name : wave_in_names) {
    if (name.find(L"TAVRI") == std::wstring::npos) continue;
    ChoiceItem item{name, {}};
    item.attributes.Set("mode", kModeGeneral);
    item.attributes.Set("name", Narrow(name));
    item.attributes.Set("path", "");
    Add(&list, std::move(item), name == current_name);
  }
  std::vector<BleDeviceInfo> ble_devices;
  EnumBleDevices(&ble_devices);
  for (const BleDeviceInfo& device : ble_devices) {
    ChoiceItem item{BleItemText(device.name, device.address, device.connected != 0), {}};
    item.attributes.Set("mode", kModeBle);
    item.attributes.Set("name", Narrow(device.address));
    item.attributes.Set("path", "");
    Add(&list, std::move(item), device.address == current_name);
  }
}

void SettingsChoices::FillRecoEngines() {
  ChoiceList& list = mutable_list(Choice::kRecoEngine);
  for (const auto& engine : stable_.reco_engine_sets()) {
    Add(&list, Item(engine.reco_engine_name(), "reco_engine_key", engine.reco_engine_key()),
        engine.reco_engine_key() == settings_.sr_config().reco_engine_key());
  }
}

void SettingsChoices::FillInputLanguages() {
  ChoiceList& list = mutable_list(Choice::kInputLanguage);
  for (const auto& language : stable_.language_sets()) {
    Add(&list, Item(language.language_name(), "language_key", language.language_key()),
        language.language_key() == settings_.sr_config().language_key());
  }
  FillAccents(settings_.sr_config().language_key(), settings_.sr_config().accent_key());
  FillTranslation();
}

void SettingsChoices::FillAccents(const std::string& language_key, const std::string& accent_key) {
  ChoiceList& list = mutable_list(Choice::kAccent);
  list = ChoiceList();
  for (const auto& language : stable_.language_sets()) {
    if (language.language_key() != language_key) continue;
    for (const auto& accent : language.accent_set()) {
      Add(&list, Item(accent.accent_name(), "accent_key", accent.accent_key()), accent.accent_key() == accent_key);
    }
    return;
  }
}

void SettingsChoices::FillTranslation() {
  ChoiceList& source = mutable_list(Choice::kTranslateSrc);
  ChoiceList& target = mutable_list(Choice::kTranslateDst);
  source = ChoiceList();
  source.enabled = false;
  target = ChoiceList();
  auto* translate = settings_.mutable_translate_config();
  const TranslateSets set = FindTranslateSetsForLanguage(stable_, settings_.sr_config().language_key());
  if (set.has_trans_key()) Add(&source, Item(set.trans_name(), "translate_src_key", set.trans_key()), true);
  translate->set_src_key(set.trans_key());
  for (const TranslateSets& entry : stable_.translate_sets()) {
    Add(&target, Item(entry.trans_name(), "translate_dst_key", entry.trans_key()),
        entry.trans_key() == translate->dst_key());
  }
}

std::wstring SettingsChoices::CheckTranslation() {
  auto* translate = settings_.mutable_translate_config();
  if (!translate->b_translate()) return std::wstring();
  const TranslateSets set = FindTranslateSetsForLanguage(stable_, settings_.sr_config().language_key());
  std::wstring warning;
  if (!set.has_trans_key()) {
    warning = kNoTranslationForLanguage;
  } else if (set.trans_key() == translate->dst_key()) {
    warning = kTranslationToSameLanguage;
  } else {
    return std::wstring();
  }
  translate->set_b_translate(false);
  return warning;
}

std::wstring SettingsChoices::Choose(Choice choice, int index) {
  ChoiceList& list = mutable_list(choice);
  if (index < 0 || index >= static_cast<int>(list.items.size())) return std::wstring();
  list.current = index;
  const UserAttributes& item = list.items[index].attributes;
  auto* sr = settings_.mutable_sr_config();
  switch (choice) {
    case Choice::kMicDev: ChooseMicDevice(item); break;
    case Choice::kRecoEngine: sr->set_reco_engine_key(item.Get("reco_engine_key")); break;
    case Choice::kInputLanguage: ChooseInputLanguage(item.Get("language_key")); break;
    case Choice::kAccent: sr->set_accent_key(item.Get("accent_key")); break;
    case Choice::kTranslateSrc: break;
    case Choice::kTranslateDst:
      settings_.mutable_translate_config()->set_dst_key(item.Get("translate_dst_key"));
      return CheckTranslation();
  }
  return std::wstring();
}

void SettingsChoices::ChooseMicDevice(const UserAttributes& item) {
  const std::string mode = item.Get("mode");
  auto* mic = settings_.mutable_mic_config();
  auto* ctl = settings_.mutable_ctl_config();
  if (mode == kModeBle) {
    const std::string address = item.Get("name");
    const std::string service_path = Narrow(FindGattServicePath(kKelvaneGattService, Wide(address)));
    for (auto* descriptor : {mic->mutable_device_descriptor(), ctl->mutable_device_descriptor()}) {
      descriptor->set_name(address);
      descriptor->set_path(service_path);
    }
    mic->set_mic_mode(ORVANE::Config::MicMode_BLE);
    ctl->set_ctl_mode(ORVANE::Config::CtlMode_BLE);
    return;
  }
  if (mode == kModeGeneral) {
    ctl->mutable_device_descriptor()->set_name("");
    ctl->mutable_device_descriptor()->set_path(Narrow(FindControlDevicePath()));
    mic->mutable_device_descriptor()->set_name(item.Get("name"));
    mic->mutable_device_descriptor()->set_path("");
  }
  mic->set_mic_mode(ORVANE::Config::MicMode_Gen);
  ctl->set_ctl_mode(ORVANE::Config::CtlMode_HID);
}

// The accent stays when the new language offers it, else the language's first accent is
// taken, so that the settings never carry an accent the language lacks or none at all.
void SettingsChoices::ChooseInputLanguage(const std::string& language_key) {
  auto* sr = settings_.mutable_sr_config();
  sr->set_language_key(language_key);
  FillAccents(language_key, sr->accent_key());
  ChoiceList& accents = mutable_list(Choice::kAccent);
  if (accents.current < 0 && !accents.items.empty()) accents.current = 0;
  if (accents.current >= 0) {
    sr->set_accent_key(accents.items[accents.current].attributes.Get("accent_key"));
  } else {
    sr->clear_accent_key();
  }
  FillTranslation();
  settings_.mutable_translate_config()->set_b_translate(false);
}

std::wstring SettingsChoices::SetTicked(Tick tick, bool ticked) {
  auto* sr = settings_.mutable_sr_config();
  switch (tick) {
    case Tick::kAppendEnter: sr->set_b_append_enter(ticked); break;
    case Tick::kPtt: sr->set_b_ptt(ticked); break;
    case Tick::kTranslate:
      settings_.mutable_translate_config()->set_b_translate(ticked);
      return CheckTranslation();
  }
  return std::wstring();
}
