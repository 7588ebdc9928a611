#include "archive/ZipEntryRecord.h"

#include <algorithm>
#include <vector>

#include "text/Utf8.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace ui {
namespace {

constexpr size_t kMaxNameLength = 259;  // 260 wide characters with the terminator
constexpr uint64_t kSecondsTo1970 = 11644473600ull;
constexpr uint64_t kTicksPerSecond = 10000000ull;

// Days from 1970-01-01 to a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned year_of_era = static_cast<unsigned>(year - era * 400);
  const unsigned day_of_year =
      static_cast<unsigned>((153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1);
  const unsigned day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + static_cast<int64_t>(day_of_era) - 719468;
}

uint64_t LocalToUtc(uint64_t local) {
#ifdef _WIN32
  FILETIME in{static_cast<DWORD>(local), static_cast<DWORD>(local >> 32)}, out{};
  if (!LocalFileTimeToFileTime(&in, &out)) return 0;
  return uint64_t{out.dwHighDateTime} << 32 | out.dwLowDateTime;
#else
  return local;  // the native build reads zip times as UTC
#endif
}

uint64_t UnixTimeToFileTime(int32_t seconds) {
  return static_cast<uint64_t>(int64_t{seconds} + static_cast<int64_t>(kSecondsTo1970)) *
         kTicksPerSecond;
}

int32_t ReadInt32(const uint8_t* p) {
  return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// Applies the first "UT" block of a local extra field, reading only bytes inside it.
void ApplyUnixTimes(const std::vector<uint8_t>& extra, ZipEntry& entry) {
  size_t at = 0;
  while (extra.size() - at >= 5) {
    const uint16_t id = static_cast<uint16_t>(extra[at] | extra[at + 1] << 8);
    const size_t size = static_cast<size_t>(extra[at + 2] | extra[at + 3] << 8);
    if (id == 0x5455) {
      const size_t end = at + 4 + std::min(size, extra.size() - at - 4);
      const uint8_t flags = extra[at + 4];
      size_t field = at + 5;
      uint64_t* targets[] = {&entry.modification_time, &entry.access_time, &entry.creation_time};
      for (int bit = 0; bit < 3; ++bit) {
        if (!(flags & (1 << bit))) continue;
        if (end - field < 4) return;
        *targets[bit] = UnixTimeToFileTime(ReadInt32(&extra[field]));
        field += 4;
      }
      return;
    }
    at += 4 + size;
    if (at > extra.size()) return;
  }
}

}  // namespace

std::wstring SanitizeZipEntryName(std::wstring name) {
  static const wchar_t* const kParentSteps[] = {L"\\..\\", L"\\../", L"/../", L"/..\\"};
  for (;;) {
    if (name.size() >= 2 && name[1] == L':') {
      name.erase(0, 2);
      continue;
    }
    if (!name.empty() && (name[0] == L'\\' || name[0] == L'/')) {
      name.erase(0, 1);
      continue;
    }
    bool stepped = false;
    for (const wchar_t* step : kParentSteps) {
      const size_t at = name.find(step);
      if (at == std::wstring::npos) continue;
      name.erase(0, at + 4);
      stepped = true;
      break;
    }
    if (!stepped) return name;
  }
}

uint32_t ZipEntryAttributes(const ZipCentralHeader& header) {
  const uint8_t host = static_cast<uint8_t>(header.version_made_by >> 8);
  const uint32_t external = header.external_attributes;
  if (host == 0 || host == 7 || host == 11 || host == 14) {
    uint32_t attributes = 0;
    if (external & 0x01) attributes |= kZipAttrReadOnly;
    if (external & 0x02) attributes |= kZipAttrHidden;
    if (external & 0x04) attributes |= kZipAttrSystem;
    if (external & 0x10) attributes |= kZipAttrDirectory;
    if (external & 0x20) attributes |= kZipAttrArchive;
    return attributes;
  }
  uint32_t attributes = kZipAttrArchive;
  if (external & 0x40000000) attributes |= kZipAttrDirectory;
  if (!(external & 0x00800000)) attributes |= kZipAttrReadOnly;
  return attributes;
}

uint64_t DosTimeToFileTime(uint32_t dos_time) {
  const int date = static_cast<int>(dos_time >> 16), time = static_cast<int>(dos_time & 0xffff);
  const int year = (date >> 9) + 1980, month = (date >> 5) & 0x0f, day = date & 0x1f;
  const int hour = time >> 11, minute = (time >> 5) & 0x3f, second = (time & 0x1f) * 2;
  if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59) return 0;
  const int64_t days = DaysFromCivil(year, month, day);
  const uint64_t seconds = static_cast<uint64_t>(days * 86400 + hour * 3600 + minute * 60 + second);
  return LocalToUtc((seconds + kSecondsTo1970) * kTicksPerSecond);
}

uint32_t FillZipEntry(ZipArchive& archive, ZipEntry& entry) {
  ZipLocalLayout layout;
  if (archive.CheckLocalHeader(layout) != kUnzOk) return kZipBadLocalHeader;
  std::vector<uint8_t> extra(layout.extra_length);
  if (!archive.source().Seek(layout.extra_position) ||
      !archive.source().Read(extra.data(), extra.size()))
    return kZipLocalReadFailed;

  const ZipCentralHeader& header = archive.current();
  const std::string& stored = archive.current_name();
  std::wstring name = Utf8BytesToWide(stored.data(), stored.size());
  if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);

  entry = ZipEntry();
  entry.index = static_cast<int>(archive.current_index());
  entry.name = SanitizeZipEntryName(std::move(name));
  entry.attributes = ZipEntryAttributes(header);
  entry.modification_time = entry.access_time = entry.creation_time =
      DosTimeToFileTime(header.dos_time);
  ApplyUnixTimes(extra, entry);
  entry.compressed_size = header.compressed_size;
  entry.uncompressed_size = header.size;
  return kZipOk;
}

}  // namespace ui
