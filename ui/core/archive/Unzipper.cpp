#include "archive/Unzipper.h"

#include "text/Utf8.h"
#include "archive/ZipEntryRecord.h"

namespace ui {

std::unique_ptr<Unzipper> Unzipper::Open(const void* data, uint64_t size, const char* password,
                                         uint32_t& result) {
  std::unique_ptr<ZipArchive> archive =
      data ? ZipArchive::Open(static_cast<const uint8_t*>(data), size) : nullptr;
  result = archive ? kZipOk : kZipCannotOpen;
  return archive ? std::unique_ptr<Unzipper>(new Unzipper(std::move(archive), password)) : nullptr;
}

Unzipper::Unzipper(std::unique_ptr<ZipArchive> archive, const char* password)
    : archive_(std::move(archive)), password_(password ? password : "") {}

uint32_t Unzipper::Find(const std::wstring& path, int& index, ZipEntry& entry) {
  index = -1;
  entry = ZipEntry();
  const std::optional<uint32_t> found = archive_->FindEntry(WideToUtf8Bytes(path));
  if (!found || archive_->GoToEntry(*found) != kUnzOk) return kZipNotFound;
  CloseStream();
  const uint32_t result = GetEntry(entry);
  if (result == kZipOk) index = entry.index;
  return result;
}

uint32_t Unzipper::GetEntry(ZipEntry& entry) {
  const int index = static_cast<int>(archive_->current_index());
  if (index == cached_index_) {
    entry = cached_entry_;
    return kZipOk;
  }
  const uint32_t result = FillZipEntry(*archive_, entry);
  if (result != kZipOk) return result;
  cached_index_ = index;
  cached_entry_ = entry;
  return kZipOk;
}

void Unzipper::CloseStream() {
  stream_.reset();
  open_index_ = -1;
}

uint32_t Unzipper::OpenStream(int index) {
  CloseStream();
  if (index < 0 || static_cast<uint32_t>(index) >= archive_->entry_count()) return kZipBadArgument;
  if (archive_->GoToEntry(static_cast<uint32_t>(index)) != kUnzOk) return kZipReadError;
  if (ZipEntryStream::Open(*archive_, password_.c_str(), stream_) != kUnzOk) return kZipReadError;
  open_index_ = index;
  return kZipOk;
}

uint32_t Unzipper::Read(int index, void* destination, uint32_t length) {
  if (index != open_index_ || !stream_) {
    const uint32_t opened = OpenStream(index);
    if (opened != kZipOk) return opened;
  }
  bool finished = false;
  const int result = stream_->Read(static_cast<uint8_t*>(destination), length, finished);
  if (result < 0 || finished) CloseStream();
  if (result == kUnzWrongPassword) return kZipWrongPassword;
  if (result < 0) return kZipReadError;
  return finished ? kZipOk : kZipMore;
}

}  // namespace ui
