// One open entry of an archive: reads, decrypts and inflates it with a running CRC-32.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "archive/ZipArchive.h"
#include "archive/ZipCrypto.h"

namespace ui {

class ZipEntryStream {
 public:
  // Opens the archive's current entry; kUnzOk or an entry-level error.
  static int Open(ZipArchive& archive, const char* password,
                  std::unique_ptr<ZipEntryStream>& stream);
  ~ZipEntryStream();
  ZipEntryStream(const ZipEntryStream&) = delete;
  ZipEntryStream& operator=(const ZipEntryStream&) = delete;

  // Delivers up to `length` bytes: the byte count, or an entry-level error. `finished` tells
  // whether the whole entry has been delivered; its CRC-32 has then been verified.
  int Read(uint8_t* destination, uint32_t length, bool& finished);

 private:
  explicit ZipEntryStream(ZipSource& source) : source_(source) {}
  bool Refill();
  int SkipEncryptionHeader();
  int CopyStored(uint8_t* destination, uint32_t room);
  int InflateStep(uint8_t* destination, uint32_t room, bool& stream_ended);

  ZipSource& source_;
  std::vector<uint8_t> buffer_;
  size_t pending_offset_ = 0;
  size_t pending_ = 0;
  z_stream inflater_{};
  bool inflater_ready_ = false;
  uint16_t method_ = 0;
  uint64_t next_position_ = 0;
  uint32_t crc_ = 0;
  uint32_t expected_crc_ = 0;
  uint32_t compressed_left_ = 0;
  uint32_t uncompressed_left_ = 0;
  std::optional<ZipCrypto> crypto_;
  uint32_t header_to_skip_ = 0;
  uint8_t check_byte_ = 0;
  uint8_t last_header_byte_ = 0;
};

}  // namespace ui
