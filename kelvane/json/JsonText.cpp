#include "JsonText.h"

#include <json/reader.h>

#include <exception>
#include <memory>

bool ParseJson(const std::string& text, Json::Value& value) {
  Json::CharReaderBuilder builder;
  builder["stackLimit"] = kMaxJsonDepth;
  try {
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value parsed;
    if (!reader->parse(text.data(), text.data() + text.size(), &parsed, nullptr)) return false;
    value.swap(parsed);
    return true;
  } catch (const std::exception&) {
    // The reader throws past its stack limit, and on allocation failure.
    return false;
  }
}
