#include "Base64.h"

#include <openssl/evp.h>

#include <vector>

std::string Base64Encode(const std::string& bytes) {
  std::vector<unsigned char> encoded(4 * ((bytes.size() + 2) / 3) + 1);
  const int length = EVP_EncodeBlock(encoded.data(),
                                     reinterpret_cast<const unsigned char*>(bytes.data()),
                                     static_cast<int>(bytes.size()));
  return std::string(reinterpret_cast<const char*>(encoded.data()), length);
}
