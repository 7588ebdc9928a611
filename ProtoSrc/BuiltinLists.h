// The built-in recognition language, accent, translation and engine lists.
#pragma once

#include <string>

#include "StableConfig.pb.h"

// The lists as protobuf text (GBK display names), compiled into the program.
extern const char* const kStableConfigText;

// Parses the built-in text into the message; always true.
bool LoadStableConfig(ORVANE::Config::StableConfigPb* stable);

// A copy of the first translation entry whose trans_key equals the key byte for byte,
// or an empty entry when none does.
ORVANE::Config::TranslateSets FindTranslateSets(const ORVANE::Config::StableConfigPb& stable,
                                                const std::string& trans_key);

// A copy of the first translation entry whose language_key (a recognition language) equals
// the key byte for byte, or an empty entry when none does.
ORVANE::Config::TranslateSets FindTranslateSetsForLanguage(const ORVANE::Config::StableConfigPb& stable,
                                                           const std::string& language_key);
