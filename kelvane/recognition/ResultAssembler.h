// Collects the SDK's JSON results of one session into sentences and rebuilds the text.
#pragma once

#include <string>
#include <vector>

namespace Json {
class Value;
}

class CResultAssembler {
 public:
  // Adds one result, replacing earlier sentences when it says so. False, with nothing
  // changed, when the text is not JSON (or nests too deep), not an object, or carries a
  // malformed range (numbers past 64 bits included). Other members of an unexpected type
  // read as missing.
  bool Parse(const std::string& json);
  // The UTF-8 text of every sentence not replaced, in arrival order; also kept.
  const std::string& Text();
  // Forgets the sentences (end of session).
  void Clear();

 private:
  struct Word {
    std::string text;
    float score = -1.0f;
  };
  struct Sentence {
    int valid = 1;
    std::vector<Word> words;
  };

  // The highest-scoring candidate of one word position; the first of equal scores.
  static Word BestWord(const Json::Value& position);

  std::vector<Sentence> sentences_;
  std::string text_;
};
