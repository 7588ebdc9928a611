#include "BuiltinLists.h"

#include <google/protobuf/text_format.h>

using ORVANE::Config::StableConfigPb;
using ORVANE::Config::TranslateSets;

// One line; display names in GBK: 简体中文, 普通话, 四川话, 英文, 中文, 语音云-实时语音听写.
const char* const kStableConfigText =
    "language_sets {\t language_key: \"zh_cn\"\t language_name: \"\xBC\xF2\xCC\xE5\xD6\xD0\xCE\xC4\""
    "\t accent_set {\t accent_key: \"mandarin\"\t accent_name: \"\xC6\xD5\xCD\xA8\xBB\xB0\" }"
    "\t accent_set {\t accent_key: \"lmz\"\t accent_name: \"\xCB\xC4\xB4\xA8\xBB\xB0\" } }"
    "\t language_sets {\t language_key: \"en_us\"\t language_name: \"\xD3\xA2\xCE\xC4\""
    "\t accent_set {\t accent_key: \"mandarin\"\t accent_name: \"\xC6\xD5\xCD\xA8\xBB\xB0\" } }"
    "\t translate_sets {\t language_key: \"zh_cn\"\t trans_key: \"cn\"\t trans_name: \"\xD6\xD0\xCE\xC4\" }"
    "\t translate_sets {\t language_key: \"en_us\"\t trans_key: \"en\"\t trans_name: \"\xD3\xA2\xCE\xC4\" }"
    "\t reco_engine_sets {\t reco_engine_key: \"ISRProcessor\"\t reco_engine_name: "
    "\"\xD3\xEF\xD2\xF4\xD4\xC6-\xCA\xB5\xCA\xB1\xD3\xEF\xD2\xF4\xCC\xFD\xD0\xB4\" }";

bool LoadStableConfig(StableConfigPb* stable) {
  google::protobuf::TextFormat::ParseFromString(kStableConfigText, stable);
  return true;
}

TranslateSets FindTranslateSets(const StableConfigPb& stable, const std::string& trans_key) {
  for (const TranslateSets& entry : stable.translate_sets()) {
    if (entry.trans_key() == trans_key) return entry;
  }
  return TranslateSets();
}

TranslateSets FindTranslateSetsForLanguage(const StableConfigPb& stable, const std::string& language_key) {
  for (const TranslateSets& entry : stable.translate_sets()) {
    if (entry.language_key() == language_key) return entry;
  }
  return TranslateSets();
}
