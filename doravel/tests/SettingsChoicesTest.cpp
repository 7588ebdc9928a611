// The settings window's lists and choices over the real settings folder, fake devices and
// the built-in lists.
#include "form/SettingsChoices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExpectedSettings.h"
#include "FakeWaveIn.h"
#include "FileBytes.h"
#include "SettingsFolderFixture.h"
#include "fakedevices/FakeDeviceSet.h"
#include "settings/SettingsFile.h"

namespace {

using Settings = CleanSettingsFolder;

std::vector<std::wstring> Texts(const ChoiceList& list) {
  std::vector<std::wstring> texts;
  for (const ChoiceItem& item : list.items) texts.push_back(item.text);
  return texts;
}

void WriteSettings(const std::string& text) {
  ASSERT_TRUE(CreateFolderPath(GetAppDataFolder()));
  WriteBytes(CleanSettingsFolder::SettingsPath(), text);
}

TEST_F(Settings, DefaultsFillTheBuiltInLists) {
  FakeWaveIn wave_in({});
  SettingsChoices choices;
  EXPECT_TRUE(choices.list(Choice::kMicDev).items.empty());
  EXPECT_EQ(choices.list(Choice::kMicDev).current, -1);
  EXPECT_EQ(Texts(choices.list(Choice::kRecoEngine)), std::vector<std::wstring>{L"语音云-实时语音听写"});
  EXPECT_EQ(choices.list(Choice::kRecoEngine).current, 0);
  EXPECT_EQ(Texts(choices.list(Choice::kInputLanguage)), (std::vector<std::wstring>{L"简体中文", L"英文"}));
  EXPECT_EQ(choices.list(Choice::kInputLanguage).current, 0);
  EXPECT_EQ(Texts(choices.list(Choice::kAccent)), (std::vector<std::wstring>{L"普通话", L"四川话"}));
  EXPECT_EQ(choices.list(Choice::kAccent).current, 0);
  EXPECT_EQ(Texts(choices.list(Choice::kTranslateSrc)), std::vector<std::wstring>{L"中文"});
  EXPECT_EQ(choices.list(Choice::kTranslateSrc).current, 0);
  EXPECT_FALSE(choices.list(Choice::kTranslateSrc).enabled);
  EXPECT_EQ(Texts(choices.list(Choice::kTranslateDst)), (std::vector<std::wstring>{L"中文", L"英文"}));
  EXPECT_EQ(choices.list(Choice::kTranslateDst).current, 1);
  EXPECT_TRUE(choices.ticked(Tick::kPtt));
  EXPECT_FALSE(choices.ticked(Tick::kAppendEnter));
  EXPECT_FALSE(choices.ticked(Tick::kTranslate));
  EXPECT_EQ(choices.list(Choice::kRecoEngine).items[0].attributes.Get("reco_engine_key"), "ISRProcessor");
}

TEST_F(Settings, MicrophonesAreTheTavriInputsThenTheBleDevices) {
  FakeWaveIn wave_in({L"Line In", L"TAVRI 麦克风", L"Realtek Mic"});
  FakeDeviceSet devices;
  devices.AddBle(L"Tavri Vornix", L"e0d9a3b2c1f0", /*connected=*/true);
  devices.AddBle(L"Ring", L"f8f09e112233", /*connected=*/false);
  WriteSettings("mic_config {\r\n  mic_mode: MicMode_BLE\r\n  device_descriptor {\r\n    name: \"f8f09e112233\"\r\n  }\r\n}\r\n");

  SettingsChoices choices;
  const ChoiceList& mics = choices.list(Choice::kMicDev);
  EXPECT_EQ(Texts(mics), (std::vector<std::wstring>{L"TAVRI 麦克风", L"Tavri Vornix [E0:D9:A3:B2:C1:F0]-Connect",
                                                    L"Ring [F8:F0:9E:11:22:33]-Disconnect"}));
  EXPECT_EQ(mics.current, 2);
  EXPECT_EQ(mics.items[0].attributes.Get("mode"), "MicMode_Gen");
  EXPECT_EQ(mics.items[0].attributes.Get("name"), "TAVRI \xC2\xF3\xBF\xCB\xB7\xE7");  // GBK
  EXPECT_EQ(mics.items[1].attributes.Get("mode"), "MicMode_BLE");
  EXPECT_EQ(mics.items[1].attributes.Get("name"), "e0d9a3b2c1f0");
}

TEST_F(Settings, ASavedWaveInMicrophoneIsFoundAgain) {
  FakeWaveIn wave_in({L"TAVRI 一", L"TAVRI 麦克风"});
  WriteSettings("mic_config {\r\n  mic_mode: MicMode_Gen\r\n  device_descriptor {\r\n    name: \"TAVRI \\302\\363\\277\\313\\267\\347\"\r\n  }\r\n}\r\n");
  SettingsChoices choices;
  EXPECT_EQ(choices.list(Choice::kMicDev).current, 1);
}

TEST_F(Settings, ChoosingADeviceSetsBothDescriptorsAndModes) {
  FakeWaveIn wave_in({L"TAVRI Mic"});
  FakeDeviceSet devices;
  devices.AddBle(L"Tavri Vornix", L"e0d9a3b2c1f0", true);
  const std::wstring service = devices.AddGatt(FakeGattServiceInstanceId(L"e0d9a3b2c1f0"));
  devices.AddBle(L"No service", L"f8f09e112233", false);
  const std::wstring control = devices.AddHid(L"VID_E4A9&PID_507C&MI_05", L"7&9&0&0000");
  SettingsChoices choices;
  const auto& config = choices.settings();

  choices.Choose(Choice::kMicDev, 1);
  EXPECT_EQ(config.mic_config().mic_mode(), ORVANE::Config::MicMode_BLE);
  EXPECT_EQ(config.ctl_config().ctl_mode(), ORVANE::Config::CtlMode_BLE);
  for (const auto* descriptor : {&config.mic_config().device_descriptor(), &config.ctl_config().device_descriptor()}) {
    EXPECT_EQ(descriptor->name(), "e0d9a3b2c1f0");
    EXPECT_EQ(descriptor->path(), std::string(service.begin(), service.end()));
  }

  choices.Choose(Choice::kMicDev, 2);
  EXPECT_EQ(config.mic_config().device_descriptor().name(), "f8f09e112233");
  EXPECT_TRUE(config.mic_config().device_descriptor().has_path());
  EXPECT_EQ(config.mic_config().device_descriptor().path(), "");

  choices.Choose(Choice::kMicDev, 0);
  EXPECT_EQ(config.mic_config().mic_mode(), ORVANE::Config::MicMode_Gen);
  EXPECT_EQ(config.ctl_config().ctl_mode(), ORVANE::Config::CtlMode_HID);
  EXPECT_EQ(config.mic_config().device_descriptor().name(), "TAVRI Mic");
  EXPECT_EQ(config.mic_config().device_descriptor().path(), "");
  EXPECT_EQ(config.ctl_config().device_descriptor().name(), "");
  EXPECT_EQ(config.ctl_config().device_descriptor().path(), std::string(control.begin(), control.end()));
}

// After a change of language the accent is never left absent: it is kept when the new
// language offers it, else the language's first accent is taken.
TEST_F(Settings, ALanguageChangeKeepsTheAccentOrTakesTheFirst) {
  FakeWaveIn wave_in({});
  const struct {
    const char* accent;
    const char* expected;
  } cases[] = {{"mandarin", "mandarin"}, {"lmz", "mandarin"}};
  for (const auto& c : cases) {
    WriteSettings(std::string("sr_config {\r\n  language_key: \"zh_cn\"\r\n  accent_key: \"") + c.accent + "\"\r\n}\r\n");
    SettingsChoices choices;
    choices.Choose(Choice::kInputLanguage, 1);  // en_us
    EXPECT_EQ(choices.settings().sr_config().language_key(), "en_us");
    EXPECT_TRUE(choices.settings().sr_config().has_accent_key()) << c.accent;
    EXPECT_EQ(choices.settings().sr_config().accent_key(), c.expected) << c.accent;
    EXPECT_EQ(Texts(choices.list(Choice::kAccent)), std::vector<std::wstring>{L"普通话"});
    EXPECT_EQ(choices.list(Choice::kAccent).current, 0);

    choices.Choose(Choice::kInputLanguage, 0);  // back to zh_cn: mandarin is offered there
    EXPECT_EQ(choices.settings().sr_config().accent_key(), "mandarin");
    choices.Choose(Choice::kAccent, 1);
    EXPECT_EQ(choices.settings().sr_config().accent_key(), "lmz");
  }
}

TEST_F(Settings, ALanguageChangeResetsTheTranslationPair) {
  FakeWaveIn wave_in({});
  WriteSettings("translate_config {\r\n  b_translate: true\r\n  src_key: \"cn\"\r\n  dst_key: \"en\"\r\n}\r\n"
                "sr_config {\r\n  language_key: \"zh_cn\"\r\n}\r\n");
  SettingsChoices choices;
  EXPECT_TRUE(choices.ticked(Tick::kTranslate));
  EXPECT_EQ(choices.Choose(Choice::kInputLanguage, 1), L"");
  EXPECT_FALSE(choices.ticked(Tick::kTranslate));
  EXPECT_TRUE(choices.settings().translate_config().has_b_translate());
  EXPECT_EQ(choices.settings().translate_config().src_key(), "en");
  EXPECT_EQ(Texts(choices.list(Choice::kTranslateSrc)), std::vector<std::wstring>{L"英文"});
}

TEST_F(Settings, TranslationThatCannotWorkIsUntickedWithItsWarning) {
  FakeWaveIn wave_in({});
  // A language without a translation entry: no source, an empty source key, no translation.
  WriteSettings("sr_config {\r\n  language_key: \"fr_fr\"\r\n}\r\n");
  {
    SettingsChoices choices;
    EXPECT_TRUE(choices.list(Choice::kTranslateSrc).items.empty());
    EXPECT_TRUE(choices.settings().translate_config().has_src_key());
    EXPECT_EQ(choices.settings().translate_config().src_key(), "");
    EXPECT_EQ(choices.SetTicked(Tick::kTranslate, true), kNoTranslationForLanguage);
    EXPECT_FALSE(choices.ticked(Tick::kTranslate));
  }

  WriteSettings("sr_config {\r\n  language_key: \"zh_cn\"\r\n}\r\ntranslate_config {\r\n  dst_key: \"en\"\r\n}\r\n");
  SettingsChoices choices;
  EXPECT_EQ(choices.SetTicked(Tick::kTranslate, true), L"");
  EXPECT_TRUE(choices.ticked(Tick::kTranslate));
  EXPECT_EQ(choices.Choose(Choice::kTranslateDst, 0), kTranslationToSameLanguage);  // cn to cn
  EXPECT_FALSE(choices.ticked(Tick::kTranslate));
  EXPECT_EQ(choices.settings().translate_config().dst_key(), "cn");
  EXPECT_EQ(choices.Choose(Choice::kTranslateDst, 0), L"") << "no warning while translation is off";
  EXPECT_EQ(choices.SetTicked(Tick::kTranslate, false), L"");
}

TEST_F(Settings, TicksAndTheUntouchedThreshold) {
  FakeWaveIn wave_in({});
  WriteSettings("sr_config {\r\n  threshold_of_VAD: 7\r\n}\r\n");
  SettingsChoices choices;
  choices.SetTicked(Tick::kAppendEnter, true);
  choices.SetTicked(Tick::kPtt, false);
  EXPECT_TRUE(choices.settings().sr_config().b_append_enter());
  EXPECT_FALSE(choices.settings().sr_config().b_ptt());
  EXPECT_EQ(choices.settings().sr_config().threshold_of_vad(), 7);
  choices.Choose(Choice::kAccent, 99);  // out of range: nothing changes
  EXPECT_EQ(choices.list(Choice::kAccent).current, -1);
}

TEST_F(Settings, BleChoiceAndTranslationSaveExactlyThisText) {
  FakeWaveIn wave_in({});
  FakeDeviceSet devices;
  devices.AddBle(L"Tavri Vornix", L"e0d9a3b2c1f0", true);
  devices.AddGatt(FakeGattServiceInstanceId(L"e0d9a3b2c1f0"));
  SettingsChoices choices;
  choices.Choose(Choice::kMicDev, 0);
  EXPECT_EQ(choices.SetTicked(Tick::kTranslate, true), L"");
  ASSERT_EQ(SaveSettings(choices.settings()).outcome, SaveOutcome::kSaved);

  EXPECT_EQ(ReadBytes(SettingsPath()), BleWithTranslationText());
}

TEST(BleItemText, AddressInColonPairsAndTheConnectionWord) {
  EXPECT_EQ(BleItemText(L"Vornix", L"e0d9a3b2c1f0", true), L"Vornix [E0:D9:A3:B2:C1:F0]-Connect");
  EXPECT_EQ(BleItemText(L"Vornix", L"e0d9a3b2c1f0", false), L"Vornix [E0:D9:A3:B2:C1:F0]-Disconnect");
  EXPECT_EQ(BleItemText(L"", L"abc", false), L" [AB:C]-Disconnect");
}

TEST(StepNoiseText, CountsFromTheLeadingNumberAndNeverBelowZero) {
  const struct {
    const wchar_t* text;
    int step;
    const wchar_t* expected;
  } cases[] = {{L"0", -1, L"0"}, {L"0", 1, L"1"}, {L"7", -1, L"6"}, {L"12abc", 1, L"13"},
               {L"", 1, L"1"},   {L"x", -1, L"0"}, {L"-5", 1, L"0"}, {L"2147483647", 1, L"2147483647"}};
  for (const auto& c : cases) EXPECT_EQ(StepNoiseText(c.text, c.step), c.expected) << c.text << " " << c.step;
}

}  // namespace
