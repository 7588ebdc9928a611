#include "archive/ZipArchive.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "archive/ZipTypes.h"

namespace ui {
namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr uint64_t kEndRecordSize = 22;
constexpr uint64_t kZip64LocatorSize = 20;
constexpr uint64_t kCentralHeaderSize = 46;
constexpr uint64_t kLocalHeaderSize = 30;
constexpr uint64_t kMaxBackSearch = 0xffff;
constexpr uint64_t kSearchBlock = 1024;

// Positions of end-record signatures within the last 64 KiB, the last one first.
std::vector<uint64_t> FindEndRecordCandidates(ZipSource& source) {
  std::vector<uint64_t> candidates;
  const uint64_t size = source.Size();
  const uint64_t limit = std::min(size, kMaxBackSearch);
  std::vector<uint8_t> block(kSearchBlock + 4);
  for (uint64_t reach = 4; reach < limit;) {
    reach = std::min(reach + kSearchBlock, limit);
    const uint64_t start = size - reach;
    const uint64_t length = std::min<uint64_t>(reach, block.size());
    if (!source.Seek(start) || !source.Read(block.data(), length)) break;
    const uint64_t overlap_end = candidates.empty() ? length : candidates.back() - start;
    for (uint64_t i = std::min(length - 4 + 1, overlap_end); i-- > 0;) {
      if (block[i] == 0x50 && block[i + 1] == 0x4b && block[i + 2] == 0x05 && block[i + 3] == 0x06)
        candidates.push_back(start + i);
    }
  }
  return candidates;
}

bool HasZip64Locator(ZipSource& source, uint64_t end_record_position) {
  uint32_t signature = 0;
  return end_record_position >= kZip64LocatorSize &&
         source.Seek(end_record_position - kZip64LocatorSize) && source.ReadU32(signature) &&
         signature == kZip64LocatorSignature;
}

bool HasZip64Marker(const ZipCentralHeader& header) {
  return header.compressed_size == 0xffffffff || header.size == 0xffffffff ||
         header.local_header_offset == 0xffffffff;
}

}  // namespace

std::unique_ptr<ZipArchive> ZipArchive::Open(const uint8_t* data, uint64_t size) {
  std::unique_ptr<ZipArchive> archive(new ZipArchive(data, size));
  // A comment may itself hold the signature: try each candidate, the last one first.
  for (uint64_t end_record : FindEndRecordCandidates(archive->source_)) {
    if (!archive->ReadEndRecord(end_record)) continue;
    archive->IndexDirectory();
    archive->GoToFirstEntry();
    return archive;
  }
  return nullptr;
}

bool ZipArchive::ReadEndRecord(uint64_t end_record_position) {
  uint32_t signature = 0, central_size = 0, central_offset = 0;
  uint16_t disk = 0, central_disk = 0, disk_entries = 0, total_entries = 0, comment_length = 0;
  if (!source_.Seek(end_record_position) || !source_.ReadU32(signature) || !source_.ReadU16(disk) ||
      !source_.ReadU16(central_disk) || !source_.ReadU16(disk_entries) ||
      !source_.ReadU16(total_entries) || !source_.ReadU32(central_size) ||
      !source_.ReadU32(central_offset) || !source_.ReadU16(comment_length))
    return false;
  if (total_entries != disk_entries || disk != 0 || central_disk != 0) return false;
  if (total_entries == 0xffff || central_size == 0xffffffff || central_offset == 0xffffffff ||
      HasZip64Locator(source_, end_record_position))
    return false;
  const uint64_t central_end = uint64_t{central_offset} + central_size;
  if (end_record_position < central_end) return false;
  entry_count_ = total_entries;
  bytes_before_ = end_record_position - central_end;
  central_offset_ = central_offset;
  return true;
}

int ZipArchive::ReadCentralHeader() {
  ZipCentralHeader h;
  uint32_t signature = 0;
  ZipSource& s = source_;
  if (!s.Seek(header_position_ + bytes_before_) || !s.ReadU32(signature)) return kUnzReadError;
  if (signature != kCentralSignature) return kUnzBadZip;
  if (!s.ReadU16(h.version_made_by) || !s.ReadU16(h.version_needed) || !s.ReadU16(h.flags) ||
      !s.ReadU16(h.method) || !s.ReadU32(h.dos_time) || !s.ReadU32(h.crc) ||
      !s.ReadU32(h.compressed_size) || !s.ReadU32(h.size) || !s.ReadU16(h.name_length) ||
      !s.ReadU16(h.extra_length) || !s.ReadU16(h.comment_length) || !s.ReadU16(h.disk_start) ||
      !s.ReadU16(h.internal_attributes) || !s.ReadU32(h.external_attributes) ||
      !s.ReadU32(h.local_header_offset))
    return kUnzReadError;
  std::string name(h.name_length, '\0');
  if (!s.Read(name.data(), name.size())) return kUnzReadError;
  current_ = h;
  current_name_ = std::move(name);
  return kUnzOk;
}

int ZipArchive::GoToFirstEntry() {
  current_index_ = 0;
  header_position_ = central_offset_;
  const int result = ReadCentralHeader();
  current_valid_ = result == kUnzOk;
  return result;
}

int ZipArchive::GoToNextEntry() {
  if (!current_valid_ || current_index_ + 1 >= entry_count_) return kUnzEndOfList;
  header_position_ +=
      kCentralHeaderSize + current_.name_length + current_.extra_length + current_.comment_length;
  ++current_index_;
  const int result = ReadCentralHeader();
  current_valid_ = result == kUnzOk;
  return result;
}

void ZipArchive::IndexDirectory() {
  for (int result = GoToFirstEntry(); result == kUnzOk; result = GoToNextEntry()) {
    header_positions_.push_back(header_position_);
    names_.Add(current_name_, current_index_);
  }
}

int ZipArchive::GoToEntry(uint32_t index) {
  if (index >= entry_count_) return kUnzBadParameter;
  if (index >= header_positions_.size()) return kUnzBadZip;
  current_index_ = index;
  header_position_ = header_positions_[index];
  const int result = ReadCentralHeader();
  current_valid_ = result == kUnzOk;
  return result;
}

int ZipArchive::CheckLocalHeader(ZipLocalLayout& layout) {
  const ZipCentralHeader& c = current_;
  if (HasZip64Marker(c) || c.size > kZipMaxEntrySize) return kUnzBadZip;
  const uint64_t local = uint64_t{c.local_header_offset} + bytes_before_;
  uint32_t signature = 0, ignored32 = 0, crc = 0, compressed_size = 0, size = 0;
  uint16_t ignored16 = 0, flags = 0, method = 0, name_length = 0, extra_length = 0;
  ZipSource& s = source_;
  if (!s.Seek(local) || !s.ReadU32(signature)) return kUnzReadError;
  if (signature != kLocalSignature) return kUnzBadZip;
  if (!s.ReadU16(ignored16) || !s.ReadU16(flags) || !s.ReadU16(method) || !s.ReadU32(ignored32) ||
      !s.ReadU32(crc) || !s.ReadU32(compressed_size) || !s.ReadU32(size) ||
      !s.ReadU16(name_length) || !s.ReadU16(extra_length))
    return kUnzReadError;
  if (method != c.method || (method != 0 && method != 8)) return kUnzBadZip;
  const bool descriptor = (flags & kZipFlagDataDescriptor) != 0;
  if (!descriptor && (crc != c.crc || compressed_size != c.compressed_size || size != c.size))
    return kUnzBadZip;
  if (name_length != c.name_length) return kUnzBadZip;
  layout.extra_position = local + kLocalHeaderSize + name_length;
  layout.extra_length = extra_length;
  layout.data_position = layout.extra_position + extra_length;
  if (layout.data_position + c.compressed_size > s.Size()) return kUnzBadZip;
  return kUnzOk;
}

}  // namespace ui
