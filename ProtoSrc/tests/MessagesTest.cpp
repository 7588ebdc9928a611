// The generated settings messages: wire bytes, text format and required fields.
#include <google/protobuf/text_format.h>
#include <gtest/gtest.h>

#include "AIConfig.pb.h"
#include "DataCenter.pb.h"
#include "config.pb.h"

using google::protobuf::TextFormat;
using namespace ORVANE::Config;

namespace {

const std::string kGbkMicName = "\xC2\xF3\xBF\xCB\xB7\xE7 (Vornix)";

std::string Print(const google::protobuf::Message& message) {
  std::string text;
  EXPECT_TRUE(TextFormat::PrintToString(message, &text));
  return text;
}

}  // namespace

TEST(Messages, SrConfigWireBytes) {
  SRConfig sr;
  sr.set_language_key("zh");
  sr.set_b_ptt(true);
  sr.set_threshold_of_vad(300);
  EXPECT_EQ(sr.SerializeAsString(), std::string("\x0a\x02zh\x38\x01\x48\xac\x02", 9));
}

TEST(Messages, StatisticsWireBytes) {
  DataCenterPb data;
  auto* words = data.mutable_word_statistics();
  words->set_total(1000);
  words->set_today(5);
  words->set_date("2026-12-09");
  const std::string expected = std::string("\x0a\x11\x08\xe8\x07\x10\x05\x1a\x0a", 9) + "2026-12-09";
  EXPECT_EQ(data.SerializeAsString(), expected);
}

TEST(Messages, UnknownFieldsSurviveARoundTrip) {
  // Field 2 is not part of SRConfig.
  const std::string input("\x0a\x02zh\x10\x07", 6);
  SRConfig sr;
  ASSERT_TRUE(sr.ParseFromString(input));
  EXPECT_EQ(sr.language_key(), "zh");
  EXPECT_EQ(sr.SerializeAsString(), input);
}

TEST(Messages, UndefinedEnumNumberStaysAbsent) {
  CtlConfig ctl;
  ASSERT_TRUE(ctl.ParseFromString(std::string("\x08\x07", 2)));
  EXPECT_FALSE(ctl.has_ctl_mode());
  EXPECT_EQ(ctl.ctl_mode(), CtlMode_HID);
}

TEST(Messages, PresenceDecidesWhatIsPrinted) {
  SRConfig sr;
  EXPECT_EQ(Print(sr), "");
  sr.set_b_ptt(false);
  EXPECT_EQ(Print(sr), "b_ptt: false\n");
}

TEST(Messages, PrintedLayout) {
  ConfigPb config;
  config.mutable_ctl_config()->set_ctl_mode(CtlMode_BLE);
  config.mutable_ctl_config()->mutable_device_descriptor()->set_name("a1b2c3d4e5f6");
  config.mutable_mic_config()->set_mic_mode(MicMode_Gen);
  config.mutable_mic_config()->mutable_device_descriptor()->set_name(kGbkMicName);
  config.mutable_sr_config()->set_threshold_of_vad(3);
  EXPECT_EQ(Print(config),
            "ctl_config {\n"
            "  ctl_mode: CtlMode_BLE\n"
            "  device_descriptor {\n"
            "    name: \"a1b2c3d4e5f6\"\n"
            "  }\n"
            "}\n"
            "mic_config {\n"
            "  mic_mode: MicMode_Gen\n"
            "  device_descriptor {\n"
            "    name: \"\\302\\363\\277\\313\\267\\347 (Vornix)\"\n"
            "  }\n"
            "}\n"
            "sr_config {\n"
            "  threshold_of_VAD: 3\n"
            "}\n");
}

TEST(Messages, GbkTextRoundTripsByteForByte) {
  ConfigPb config;
  config.mutable_mic_config()->set_mic_mode(MicMode_BLE);
  config.mutable_mic_config()->mutable_device_descriptor()->set_name(kGbkMicName);
  config.mutable_translate_config()->set_src_key("cn");

  ConfigPb parsed;
  ASSERT_TRUE(TextFormat::ParseFromString(Print(config), &parsed));
  EXPECT_EQ(parsed.mic_config().device_descriptor().name(), kGbkMicName);
  EXPECT_EQ(parsed.SerializeAsString(), config.SerializeAsString());

  // Raw GBK bytes inside quotes are taken as they are.
  ConfigPb raw;
  ASSERT_TRUE(TextFormat::ParseFromString(
      "mic_config { mic_mode: MicMode_Gen device_descriptor { name: \"" + kGbkMicName + "\" } }",
      &raw));
  EXPECT_EQ(raw.mic_config().device_descriptor().name(), kGbkMicName);
}

TEST(Messages, RequiredMicFields) {
  ConfigPb config;
  EXPECT_TRUE(TextFormat::ParseFromString("", &config));
  EXPECT_FALSE(config.has_mic_config());

  EXPECT_FALSE(TextFormat::ParseFromString("mic_config { mic_mode: MicMode_BLE }", &config));
  EXPECT_TRUE(config.mic_config().has_mic_mode());  // what was read before the failure stays

  EXPECT_TRUE(TextFormat::ParseFromString(
      "mic_config { mic_mode: MicMode_BLE device_descriptor { } }", &config));
  EXPECT_TRUE(TextFormat::ParseFromString("sr_config { b_ptt: true }", &config));
}

TEST(Messages, MalformedTextFails) {
  const char* const cases[] = {
      "sr_config { no_such_field: 1 }",
      "ctl_config { ctl_mode: CtlMode_USB }",
      "sr_config { b_ptt: true b_ptt: false }",
      "sr_config { b_ptt: true",
      "sr_config { language_key: zh }",
  };
  for (const char* text : cases) {
    ConfigPb config;
    EXPECT_FALSE(TextFormat::ParseFromString(text, &config)) << text;
  }
}

TEST(Messages, SpokenCommandsInFileOrder) {
  AIConfigPb table;
  ASSERT_TRUE(TextFormat::ParseFromString(
      "ai_ability {\n  name: \"calc\"\n  exe: \"calc.exe\"\n}\n"
      "ai_ability {\n  name: \"note\"\n  exe: \"notepad.exe\"\n}\n",
      &table));
  ASSERT_EQ(table.ai_ability_size(), 2);
  EXPECT_EQ(table.ai_ability(0).name(), "calc");
  EXPECT_EQ(table.ai_ability(1).exe(), "notepad.exe");
}
