// The Digest and Authorization headers of a translation request.
#pragma once

#include <string>

// "SHA-256=" and the base64 SHA-256 of the body.
std::string BodyDigest(const std::string& body);

// The signed text: host, date, request line and digest, one per line.
std::string SignatureOrigin(const std::string& host, const std::string& date,
                            const std::string& requestLine, const std::string& digest);

// The base64 HMAC-SHA256 of the text with the secret as key.
std::string HmacSha256Base64(const std::string& secret, const std::string& text);

// The Authorization header value for the signature.
std::string AuthorizationHeader(const std::string& apiKey, const std::string& signature);
