// A zip archive's end record and central directory, indexed once by position and by name.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/ZipNameIndex.h"
#include "archive/ZipSource.h"

namespace ui {

// General-purpose flag bits.
constexpr uint16_t kZipFlagEncrypted = 0x0001;
constexpr uint16_t kZipFlagDataDescriptor = 0x0008;

struct ZipCentralHeader {
  uint16_t version_made_by = 0;
  uint16_t version_needed = 0;
  uint16_t flags = 0;
  uint16_t method = 0;
  uint32_t dos_time = 0;  // time in the low half, date in the high half
  uint32_t crc = 0;
  uint32_t compressed_size = 0;
  uint32_t size = 0;
  uint16_t name_length = 0;
  uint16_t extra_length = 0;
  uint16_t comment_length = 0;
  uint16_t disk_start = 0;
  uint16_t internal_attributes = 0;
  uint32_t external_attributes = 0;
  uint32_t local_header_offset = 0;
};

// Where an entry's local extra field and data lie (absolute positions).
struct ZipLocalLayout {
  uint64_t extra_position = 0;
  uint16_t extra_length = 0;
  uint64_t data_position = 0;
};

class ZipArchive {
 public:
  // Null when the data holds no usable archive (missing end record, several disks,
  // inconsistent counts or offsets, zip64).
  static std::unique_ptr<ZipArchive> Open(const uint8_t* data, uint64_t size);

  uint32_t entry_count() const { return entry_count_; }
  uint32_t current_index() const { return current_index_; }
  bool current_valid() const { return current_valid_; }
  const ZipCentralHeader& current() const { return current_; }
  // Name bytes of the current entry, exactly as stored.
  const std::string& current_name() const { return current_name_; }
  ZipSource& source() { return source_; }

  int GoToFirstEntry();
  int GoToNextEntry();
  // Moves to `index` straight through the index; an entry behind a header that does not read
  // is out of reach, as it is for a walk.
  int GoToEntry(uint32_t index);
  // The first entry named `name` (see ZipNameIndex).
  std::optional<uint32_t> FindEntry(const std::string& name) const { return names_.Find(name); }

  // Checks the current entry's local header against the central one.
  int CheckLocalHeader(ZipLocalLayout& layout);

 private:
  ZipArchive(const uint8_t* data, uint64_t size) : source_(data, size) {}
  bool ReadEndRecord(uint64_t end_record_position);
  int ReadCentralHeader();
  // Walks the directory once, up to the first header that does not read.
  void IndexDirectory();

  ZipSource source_;
  uint32_t entry_count_ = 0;
  uint64_t bytes_before_ = 0;
  uint64_t central_offset_ = 0;
  uint32_t current_index_ = 0;
  uint64_t header_position_ = 0;
  bool current_valid_ = false;
  ZipCentralHeader current_;
  std::string current_name_;
  std::vector<uint64_t> header_positions_;
  ZipNameIndex names_;
};

}  // namespace ui
