// Result codes and the entry record of the skin-archive reader.
#pragma once

#include <cstdint>
#include <string>

#include "system/SkinLimits.h"

namespace ui {

// Archive-layer results.
constexpr uint32_t kZipOk = 0x00000000;
constexpr uint32_t kZipCannotOpen = 0x00000200;
constexpr uint32_t kZipNotFound = 0x00000500;
constexpr uint32_t kZipMore = 0x00000600;
constexpr uint32_t kZipBadLocalHeader = 0x00000700;
constexpr uint32_t kZipLocalReadFailed = 0x00000800;
constexpr uint32_t kZipWrongPassword = 0x00001000;
constexpr uint32_t kZipBadArgument = 0x00010000;
constexpr uint32_t kZipNotUnzipHandle = 0x00080000;
constexpr uint32_t kZipReadError = 0x05000000;

// Entry-level results; positive values are byte counts.
constexpr int kUnzOk = 0;
constexpr int kUnzReadError = -1;
constexpr int kUnzEndOfList = -100;
constexpr int kUnzBadParameter = -102;
constexpr int kUnzBadZip = -103;
constexpr int kUnzOutOfMemory = -104;
constexpr int kUnzCrcError = -105;
constexpr int kUnzWrongPassword = -106;

// An entry declaring more than a skin file may hold is refused before anything is inflated.
constexpr uint32_t kZipMaxEntrySize = kMaxSkinFileBytes;

// File attribute bits of an entry record.
constexpr uint32_t kZipAttrReadOnly = 0x01;
constexpr uint32_t kZipAttrHidden = 0x02;
constexpr uint32_t kZipAttrSystem = 0x04;
constexpr uint32_t kZipAttrDirectory = 0x10;
constexpr uint32_t kZipAttrArchive = 0x20;

struct ZipEntry {
  int index = -1;
  std::wstring name;  // sanitised: no drive, no leading separator, no "..\" steps
  uint32_t attributes = 0;
  // FILETIME values (100 ns since 1601-01-01 UTC).
  uint64_t access_time = 0;
  uint64_t creation_time = 0;
  uint64_t modification_time = 0;
  uint32_t compressed_size = 0;
  uint32_t uncompressed_size = 0;
};

}  // namespace ui
