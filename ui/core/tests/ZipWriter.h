// Builds small zip archives in memory for the reader's tests and fuzz seeds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ZipWriterEntry {
  std::string name;
  std::string data;
  bool deflate = true;
  bool data_descriptor = false;
  std::string password;  // non-empty: traditional PKWARE encryption
  std::string local_extra;
  uint32_t dos_time = 0x5A8B6000;             // 2025-04-11 12:00:00
  uint16_t version_made_by = 0x0314;          // Unix
  uint32_t external_attributes = 0x81A40000;  // regular file, rw-r--r--
};

struct ZipLayout {
  std::vector<size_t> local_headers;
  std::vector<size_t> central_headers;
  size_t end_record = 0;
};

std::string BuildZip(const std::vector<ZipWriterEntry>& entries, const std::string& comment = "",
                     ZipLayout* layout = nullptr);

// "UT" extra block with the given flags and times.
std::string UnixTimeExtra(uint8_t flags, const std::vector<int32_t>& times);

void PutU16(std::string& bytes, size_t at, uint16_t value);
void PutU32(std::string& bytes, size_t at, uint32_t value);
