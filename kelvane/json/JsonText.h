// JSON text from outside the program (recogniser results, translation answers): parsed
// without letting the library's exceptions out, and with bounded nesting.
#pragma once

#include <json/value.h>

#include <string>

// Deeper nesting is refused: the answers read here nest a few levels only.
constexpr int kMaxJsonDepth = 64;

// True with value = the parsed text; false, value untouched, for anything that is not JSON
// (nesting deeper than kMaxJsonDepth included).
bool ParseJson(const std::string& text, Json::Value& value);
