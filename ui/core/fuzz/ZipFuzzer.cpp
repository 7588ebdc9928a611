// Feeds arbitrary bytes to the archive reader: open, find every stored name, read each entry.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "text/Utf8.h"
#include "archive/ZipApi.h"

namespace {

constexpr int kMaxNames = 32;
constexpr int kMaxChunks = 64;

std::vector<std::wstring> StoredNames(const uint8_t* data, size_t size) {
  std::vector<std::wstring> names;
  std::unique_ptr<ui::ZipArchive> archive = ui::ZipArchive::Open(data, size);
  if (!archive) return names;
  for (int result = archive->GoToFirstEntry(); result == 0 && names.size() < kMaxNames;
       result = archive->GoToNextEntry()) {
    const std::string& name = archive->current_name();
    names.push_back(ui::Utf8BytesToWide(name.data(), name.size()));
  }
  return names;
}

void ReadInChunks(ui::Unzipper* unzipper, int index) {
  std::vector<uint8_t> chunk(4096);
  for (int i = 0; i < kMaxChunks; ++i) {
    if (ui::ReadZipEntry(unzipper, index, chunk.data(), static_cast<uint32_t>(chunk.size())) !=
        ui::kZipMore)
      return;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ui::ZipHandle* handle = ui::OpenZip(data, static_cast<uint32_t>(size), "");
  if (!handle) return 0;
  ui::Unzipper* unzipper = handle->unzipper.get();
  for (const std::wstring& name : StoredNames(data, size)) {
    int index = -1;
    ui::ZipEntry entry;
    if (ui::FindZipEntry(unzipper, name, index, entry) == ui::kZipOk) ReadInChunks(unzipper, index);
  }
  ReadInChunks(unzipper, 0);
  delete handle;
  return 0;
}
