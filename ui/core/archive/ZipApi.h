// The archive layer: open an archive held in memory, find and read entries, and the
// process-wide resource archive slot with the last result.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "archive/Unzipper.h"
#include "archive/ZipTypes.h"

namespace ui {

constexpr uint32_t kUnzipperHandle = 1;

struct ZipHandle {
  uint32_t kind = kUnzipperHandle;
  std::unique_ptr<Unzipper> unzipper;
};

// Opens `length` bytes at `data` in place (the bytes must outlive the handle); null on failure.
ZipHandle* OpenZip(const void* data, uint32_t length, const char* password);
// Closes the resource archive and empties its slot.
uint32_t CloseZip();

// The process-wide resource archive, or null.
ZipHandle*& ResourceZip();
// Result of the last archive operation.
uint32_t& LastZipResult();

uint32_t FindZipEntry(Unzipper* unzipper, const std::wstring& path, int& index, ZipEntry& entry);
uint32_t ReadZipEntry(Unzipper* unzipper, int index, void* destination, uint32_t length);

}  // namespace ui
