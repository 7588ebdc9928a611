// Standard base64 (RFC 4648 alphabet, "=" padding, no line breaks).
#pragma once

#include <string>

std::string Base64Encode(const std::string& bytes);
