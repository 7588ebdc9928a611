#include "ResultAssembler.h"

#include <json/json.h>

#include <algorithm>
#include <memory>

namespace {

const Json::Value& Member(const Json::Value& object, const char* key) {
  static const Json::Value missing;
  return object.isObject() ? object[key] : missing;
}

// The 0-based sentence range of a replacing result; false when "rg" is malformed. A result
// that replaces nothing gives an empty range.
bool ReplacedRange(const Json::Value& result, long long& first, long long& last) {
  first = 0;
  last = -1;
  const Json::Value& pgs = Member(result, "pgs");
  const Json::Value& rg = Member(result, "rg");
  if (!pgs.isString() || pgs.asString() != "rpl" || rg.isNull()) return true;
  if (!rg.isArray() || rg.size() != 2 || !rg[0].isIntegral() || !rg[1].isIntegral()) {
    return false;
  }
  first = rg[0].asInt64() - 1;
  last = rg[1].asInt64() - 1;
  return true;
}

}  // namespace

bool CResultAssembler::Parse(const std::string& json) {
  Json::CharReaderBuilder builder;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value result;
  if (!reader->parse(json.data(), json.data() + json.size(), &result, nullptr) ||
      !result.isObject()) {
    return false;
  }
  long long first = 0;
  long long last = -1;
  if (!ReplacedRange(result, first, last)) return false;
  const long long count = static_cast<long long>(sentences_.size());
  for (long long i = std::max(first, 0LL); i <= std::min(last, count - 1); ++i) {
    sentences_[i].valid = 0;
    sentences_[i].words.clear();
  }

  Sentence sentence;
  const Json::Value& positions = Member(result, "ws");
  if (positions.isArray()) {
    for (const Json::Value& position : positions) sentence.words.push_back(BestWord(position));
  }
  sentences_.push_back(std::move(sentence));
  return true;
}

CResultAssembler::Word CResultAssembler::BestWord(const Json::Value& position) {
  Word word;
  const Json::Value& candidates = Member(position, "cw");
  if (!candidates.isArray()) return word;
  for (const Json::Value& candidate : candidates) {
    const Json::Value& score = Member(candidate, "sc");
    const float value = score.isNumeric() ? score.asFloat() : 0.0f;
    if (value > word.score) {
      const Json::Value& text = Member(candidate, "w");
      word.text = text.isString() ? text.asString() : std::string();
      word.score = value;
    }
  }
  return word;
}

const std::string& CResultAssembler::Text() {
  text_.clear();
  for (const Sentence& sentence : sentences_) {
    if (sentence.valid != 1) continue;
    for (const Word& word : sentence.words) text_ += word.text;
  }
  return text_;
}

void CResultAssembler::Clear() { sentences_.clear(); }
