#include <gtest/gtest.h>

#include <string>

#include "Base64.h"
#include "RequestSigning.h"

namespace {

TEST(RequestSigningTest, Base64MatchesTheStandardVectors) {
  const std::pair<std::string, std::string> vectors[] = {
      {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
      {std::string("\0\xff\0", 3), "AP8A"}, {"\xfb\xff", "+/8="},
  };
  for (const auto& [bytes, encoded] : vectors) EXPECT_EQ(Base64Encode(bytes), encoded) << encoded;
}

TEST(RequestSigningTest, DigestAndSignatureAreKnownAnswers) {
  // SHA-256 of "abc" and HMAC-SHA256 "Jefe" / "what do ya want for nothing?" (RFC 4231).
  EXPECT_EQ(BodyDigest("abc"), "SHA-256=ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=");
  EXPECT_EQ(HmacSha256Base64("Jefe", "what do ya want for nothing?"),
            "W9zBRr9gdU5qBCQmCJV1x1oAPwidJzmDnexYuWTsOEM=");
  EXPECT_EQ(BodyDigest("").size(), 8u + 44u);
}

TEST(RequestSigningTest, OriginAndAuthorizationHaveTheirExactForm) {
  EXPECT_EQ(SignatureOrigin("h.example", "Thu, 10 Dec 2026 13:00:00 GMT", "POST /v2/ots HTTP/1.1",
                            "SHA-256=x"),
            "host: h.example\ndate: Thu, 10 Dec 2026 13:00:00 GMT\nPOST /v2/ots HTTP/1.1\n"
            "digest: SHA-256=x");
  EXPECT_EQ(AuthorizationHeader("key", "sig"),
            "api_key=\"key\",algorithm=\"hmac-sha256\",headers=\"host date request-line "
            "digest\",signature=\"sig\"");
}

}  // namespace
