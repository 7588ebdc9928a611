#include "BuiltinLists.h"

#include <google/protobuf/text_format.h>
#include <gtest/gtest.h>

using ORVANE::Config::StableConfigPb;
using ORVANE::Config::TranslateSets;

namespace {

StableConfigPb Parsed() {
  StableConfigPb stable;
  EXPECT_TRUE(LoadStableConfig(&stable));
  return stable;
}

}  // namespace

TEST(BuiltinLists, TextIsOneLineThatParsesCompletely) {
  EXPECT_EQ(std::string(kStableConfigText).find_first_of("\r\n"), std::string::npos);
  StableConfigPb stable;
  EXPECT_TRUE(google::protobuf::TextFormat::ParseFromString(kStableConfigText, &stable));
}

TEST(BuiltinLists, ListsInTheirOrder) {
  const StableConfigPb stable = Parsed();
  ASSERT_EQ(stable.language_sets_size(), 2);
  const auto& chinese = stable.language_sets(0);
  EXPECT_EQ(chinese.language_key(), "zh_cn");
  EXPECT_EQ(chinese.language_name(), "\xBC\xF2\xCC\xE5\xD6\xD0\xCE\xC4");
  ASSERT_EQ(chinese.accent_set_size(), 2);
  EXPECT_EQ(chinese.accent_set(0).accent_key(), "mandarin");
  EXPECT_EQ(chinese.accent_set(0).accent_name(), "\xC6\xD5\xCD\xA8\xBB\xB0");
  EXPECT_EQ(chinese.accent_set(1).accent_key(), "lmz");
  EXPECT_EQ(chinese.accent_set(1).accent_name(), "\xCB\xC4\xB4\xA8\xBB\xB0");

  const auto& english = stable.language_sets(1);
  EXPECT_EQ(english.language_key(), "en_us");
  EXPECT_EQ(english.language_name(), "\xD3\xA2\xCE\xC4");
  ASSERT_EQ(english.accent_set_size(), 1);
  EXPECT_EQ(english.accent_set(0).accent_key(), "mandarin");

  ASSERT_EQ(stable.translate_sets_size(), 2);
  EXPECT_EQ(stable.translate_sets(0).trans_key(), "cn");
  EXPECT_EQ(stable.translate_sets(1).trans_key(), "en");

  ASSERT_EQ(stable.reco_engine_sets_size(), 1);
  EXPECT_EQ(stable.reco_engine_sets(0).reco_engine_key(), "ISRProcessor");
  EXPECT_EQ(stable.reco_engine_sets(0).reco_engine_name(),
            "\xD3\xEF\xD2\xF4\xD4\xC6-\xCA\xB5\xCA\xB1\xD3\xEF\xD2\xF4\xCC\xFD\xD0\xB4");
}

TEST(BuiltinLists, LoadingClearsWhatTheMessageHeld) {
  StableConfigPb stable;
  stable.add_translate_sets()->set_trans_key("xx");
  LoadStableConfig(&stable);
  EXPECT_EQ(stable.translate_sets_size(), 2);
}

TEST(BuiltinLists, FindTranslateSetsMatchesTransKeyExactly) {
  const StableConfigPb stable = Parsed();
  const TranslateSets cn = FindTranslateSets(stable, "cn");
  EXPECT_EQ(cn.language_key(), "zh_cn");
  EXPECT_EQ(cn.trans_name(), "\xD6\xD0\xCE\xC4");
  const TranslateSets en = FindTranslateSets(stable, "en");
  EXPECT_EQ(en.language_key(), "en_us");
  EXPECT_EQ(en.trans_name(), "\xD3\xA2\xCE\xC4");

  for (const char* key : {"zh_cn", "CN", "cn ", "", "c"}) {
    const TranslateSets miss = FindTranslateSets(stable, key);
    EXPECT_FALSE(miss.has_trans_key()) << key;
    EXPECT_EQ(miss.trans_name(), "") << key;
  }
  EXPECT_FALSE(FindTranslateSets(StableConfigPb(), "cn").has_language_key());
}

TEST(BuiltinLists, FirstOfTwoEqualKeysWins) {
  StableConfigPb stable;
  for (const char* name : {"first", "second"}) {
    auto* entry = stable.add_translate_sets();
    entry->set_trans_key("cn");
    entry->set_trans_name(name);
  }
  EXPECT_EQ(FindTranslateSets(stable, "cn").trans_name(), "first");
}

TEST(BuiltinLists, FindTranslateSetsForLanguageMatchesTheRecognitionLanguage) {
  const StableConfigPb stable = Parsed();
  const TranslateSets zh = FindTranslateSetsForLanguage(stable, "zh_cn");
  EXPECT_EQ(zh.trans_key(), "cn");
  EXPECT_EQ(FindTranslateSetsForLanguage(stable, "en_us").trans_key(), "en");
  for (const char* key : {"cn", "ZH_CN", "zh_cn ", "", "fr_fr"}) {
    const TranslateSets miss = FindTranslateSetsForLanguage(stable, key);
    EXPECT_FALSE(miss.has_trans_key()) << key;
    EXPECT_FALSE(miss.has_language_key()) << key;
  }
}
