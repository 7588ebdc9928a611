// Traditional PKWARE decryption keys.
#pragma once

#include <cstdint>

namespace ui {

class ZipCrypto {
 public:
  explicit ZipCrypto(const char* password);
  uint8_t Decrypt(uint8_t cipher);

 private:
  void Update(uint8_t plain);

  uint32_t keys_[3] = {0x12345678, 0x23456789, 0x34567890};
};

}  // namespace ui
