#include "ResultAssembler.h"

#include <json/value.h>

#include <algorithm>
#include <cfloat>

#include "JsonText.h"

namespace {

const Json::Value& Member(const Json::Value& object, const char* key) {
  static const Json::Value missing;
  return object.isObject() ? object[key] : missing;
}

// The 1-based sentence range of a replacing result; false when "rg" is malformed or its
// numbers do not fit 64 bits. A result that replaces nothing gives an empty range.
bool ReplacedRange(const Json::Value& result, long long& first, long long& last) {
  first = 1;
  last = 0;
  const Json::Value& pgs = Member(result, "pgs");
  const Json::Value& rg = Member(result, "rg");
  if (!pgs.isString() || pgs.asString() != "rpl" || rg.isNull()) return true;
  if (!rg.isArray() || rg.size() != 2 || !rg[0].isInt64() || !rg[1].isInt64()) return false;
  first = rg[0].asInt64();
  last = rg[1].asInt64();
  return true;
}

// A candidate's score as the word keeps it; numbers beyond a float's range are clamped.
float Score(const Json::Value& score) {
  if (!score.isNumeric()) return 0.0f;
  const double value = score.asDouble();
  return static_cast<float>(std::clamp(value, double(-FLT_MAX), double(FLT_MAX)));
}

}  // namespace

bool CResultAssembler::Parse(const std::string& json) {
  Json::Value result;
  if (!ParseJson(json, result) || !result.isObject()) return false;
  long long first = 1;
  long long last = 0;
  if (!ReplacedRange(result, first, last)) return false;
  // 1-based, clamped to the list: a bound at the edge of 64 bits is never shifted past it.
  const long long count = static_cast<long long>(sentences_.size());
  for (long long n = std::max(first, 1LL); n <= std::min(last, count); ++n) {
    sentences_[n - 1].valid = 0;
    sentences_[n - 1].words.clear();
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
    const float value = Score(Member(candidate, "sc"));
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
