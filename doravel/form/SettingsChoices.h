// What the settings window shows and how each choice of the user changes the edited
// settings, kept apart from the widgets: the window copies these lists and ticks into its
// combo boxes and check boxes and passes the user's choices back.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "StableConfig.pb.h"
#include "config.pb.h"
#include "form/UserAttribute.h"

enum class Choice { kMicDev, kRecoEngine, kInputLanguage, kAccent, kTranslateSrc, kTranslateDst };
enum class Tick { kAppendEnter, kPtt, kTranslate };

struct ChoiceItem {
  std::wstring text;
  UserAttributes attributes;
};

struct ChoiceList {
  std::vector<ChoiceItem> items;
  int current = -1;  // none selected
  bool enabled = true;
};

// The warnings shown when translation is ticked but cannot work.
extern const wchar_t kNoTranslationForLanguage[];  // "检测到当前识别语言不支持翻译功能"
extern const wchar_t kTranslationToSameLanguage[];  // "检测到当前翻译输入语言和输出语言相同"

class SettingsChoices {
 public:
  // Parses the built-in lists, loads the settings file (or the defaults), lists the input
  // devices present and fills every other list from the built-in choices.
  SettingsChoices();

  const ChoiceList& list(Choice choice) const { return lists_[static_cast<size_t>(choice)]; }
  bool ticked(Tick tick) const;
  const ORVANE::Config::ConfigPb& settings() const { return settings_; }
  // Whether a settings file is there that could not be read (the defaults are shown).
  bool settings_unreadable() const { return settings_unreadable_; }

  // The user chose item `index` of a list; the lists that depend on it are filled again.
  // A translation target that cannot work unticks translation and its warning is returned;
  // otherwise the result is empty.
  std::wstring Choose(Choice choice, int index);
  // The user ticked or unticked a box. A translation that cannot work is unticked again and
  // its warning is returned; otherwise the result is empty.
  std::wstring SetTicked(Tick tick, bool ticked);

 private:
  ChoiceList& mutable_list(Choice choice) { return lists_[static_cast<size_t>(choice)]; }
  // The configured device is the current one.
  void FillMicDevices();
  void FillRecoEngines();
  void FillInputLanguages();
  void FillAccents(const std::string& language_key, const std::string& accent_key);
  void FillTranslation();
  std::wstring CheckTranslation();
  void ChooseMicDevice(const UserAttributes& item);
  void ChooseInputLanguage(const std::string& language_key);

  ORVANE::Config::ConfigPb settings_;
  bool settings_unreadable_ = false;
  ORVANE::Config::StableConfigPb stable_;
  std::array<ChoiceList, 6> lists_;
};

// The text of a BLE device's item: name [AA:BB:CC:DD:EE:FF]-Connect for a connected device,
// -Disconnect for one that is not.
std::wstring BleItemText(const std::wstring& name, const std::wstring& address, bool connected);

// The noise field's text after a spin button: the number it starts with plus step, never
// below 0.
std::wstring StepNoiseText(const std::wstring& text, int step);
