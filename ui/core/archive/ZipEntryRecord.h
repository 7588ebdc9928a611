// Builds the caller's record of an archive entry from its central header and local extra field.
#pragma once

#include <cstdint>
#include <string>

#include "archive/ZipArchive.h"
#include "archive/ZipTypes.h"

namespace ui {

// Drops drive prefixes, leading separators and everything up to a "..\" step.
std::wstring SanitizeZipEntryName(std::wstring name);
uint32_t ZipEntryAttributes(const ZipCentralHeader& header);
// DOS date and time (date in the high half) as a FILETIME value in UTC.
uint64_t DosTimeToFileTime(uint32_t dos_time);

// Fills `entry` for the archive's current entry; an archive-layer result.
uint32_t FillZipEntry(ZipArchive& archive, ZipEntry& entry);

}  // namespace ui
