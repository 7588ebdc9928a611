// Looks entries of one archive up by name and inflates them, one open entry at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "archive/ZipArchive.h"
#include "archive/ZipEntryStream.h"
#include "archive/ZipTypes.h"

namespace ui {

class Unzipper {
 public:
  // Null when the data is not an archive; `result` gets the archive-layer code.
  static std::unique_ptr<Unzipper> Open(const void* data, uint64_t size, const char* password,
                                        uint32_t& result);

  // Finds `path` (ASCII letters match in any case); kZipNotFound with index -1 when absent.
  uint32_t Find(const std::wstring& path, int& index, ZipEntry& entry);
  // Inflates entry `index` into `destination`; a call after kZipMore continues the entry.
  uint32_t Read(int index, void* destination, uint32_t length);

 private:
  explicit Unzipper(std::unique_ptr<ZipArchive> archive, const char* password);
  uint32_t GetEntry(ZipEntry& entry);
  uint32_t OpenStream(int index);
  void CloseStream();

  std::unique_ptr<ZipArchive> archive_;
  std::string password_;
  std::unique_ptr<ZipEntryStream> stream_;
  int open_index_ = -1;
  int cached_index_ = -1;
  ZipEntry cached_entry_;
};

}  // namespace ui
