#include "RequestSigning.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include "Base64.h"

namespace {

std::string AsText(const unsigned char* bytes, unsigned int length) {
  return std::string(reinterpret_cast<const char*>(bytes), length);
}

}  // namespace

std::string BodyDigest(const std::string& body) {
  unsigned char hash[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(body.data(), body.size(), hash, &length, EVP_sha256(), nullptr);
  return "SHA-256=" + Base64Encode(AsText(hash, length));
}

std::string SignatureOrigin(const std::string& host, const std::string& date,
                            const std::string& requestLine, const std::string& digest) {
  return "host: " + host + "\ndate: " + date + "\n" + requestLine + "\ndigest: " + digest;
}

std::string HmacSha256Base64(const std::string& secret, const std::string& text) {
  unsigned char mac[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  HMAC(EVP_sha256(), secret.data(), static_cast<int>(secret.size()),
       reinterpret_cast<const unsigned char*>(text.data()), text.size(), mac, &length);
  return Base64Encode(AsText(mac, length));
}

std::string AuthorizationHeader(const std::string& apiKey, const std::string& signature) {
  return "api_key=\"" + apiKey +
         "\",algorithm=\"hmac-sha256\",headers=\"host date request-line digest\",signature=\"" +
         signature + "\"";
}
