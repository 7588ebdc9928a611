#include "archive/Unzipper.h"

#include "text/Utf8.h"
#include "archive/ZipEntryRecord.h"

namespace ui {
namespace {

constexpr size_t kMaxNameBytes = 255;  // names must fit a 256-byte buffer with the terminator

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameNameIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

}  // namespace

std::unique_ptr<Unzipper> Unzipper::Open(const void* data, uint64_t size, const char* password,
                                         uint32_t& result) {
  std::unique_ptr<ZipArchive> archive =
      data ? ZipArchive::Open(static_cast<const uint8_t*>(data), size) : nullptr;
  result = archive ? kZipOk : kZipCannotOpen;
  return archive ? std::unique_ptr<Unzipper>(new Unzipper(std::move(archive), password)) : nullptr;
}

Unzipper::Unzipper(std::unique_ptr<ZipArchive> archive, const char* password)
    : archive_(std::move(archive)), password_(password ? password : "") {}

bool Unzipper::FindByName(const std::string& utf8_name) {
  const uint32_t saved_index = archive_->current_index();
  const uint64_t saved_position = archive_->header_position();
  for (int result = archive_->GoToFirstEntry(); result == kUnzOk;
       result = archive_->GoToNextEntry()) {
    const std::string& stored = archive_->current_name();
    if (stored.size() <= kMaxNameBytes && SameNameIgnoringAsciiCase(stored, utf8_name)) return true;
  }
  archive_->RestorePosition(saved_index, saved_position);
  return false;
}

uint32_t Unzipper::Find(const std::wstring& path, int& index, ZipEntry& entry) {
  index = -1;
  entry = ZipEntry();
  const std::string wanted = WideToUtf8Bytes(path);
  // The walk starts from the first entry, so an earlier failed step does not hide entries.
  if (wanted.size() > kMaxNameBytes || !FindByName(wanted)) return kZipNotFound;
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
