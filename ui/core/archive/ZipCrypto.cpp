#include "archive/ZipCrypto.h"

#include <zlib.h>

namespace ui {
namespace {

uint32_t Crc32Step(uint32_t crc, uint8_t byte) {
  return static_cast<uint32_t>(get_crc_table()[(crc ^ byte) & 0xff]) ^ (crc >> 8);
}

}  // namespace

ZipCrypto::ZipCrypto(const char* password) {
  for (const char* p = password; p && *p; ++p) Update(static_cast<uint8_t>(*p));
}

void ZipCrypto::Update(uint8_t plain) {
  keys_[0] = Crc32Step(keys_[0], plain);
  keys_[1] = (keys_[1] + (keys_[0] & 0xff)) * 134775813u + 1;
  keys_[2] = Crc32Step(keys_[2], static_cast<uint8_t>(keys_[1] >> 24));
}

uint8_t ZipCrypto::Decrypt(uint8_t cipher) {
  uint32_t t = (keys_[2] | 2) & 0xffff;
  uint8_t plain = cipher ^ static_cast<uint8_t>((t * (t ^ 1)) >> 8);
  Update(plain);
  return plain;
}

}  // namespace ui
