#include "archive/ZipEntryStream.h"

#include <algorithm>
#include <cstring>

#include "archive/ZipTypes.h"

namespace ui {
namespace {

constexpr size_t kReadBufferSize = 0x4000;
constexpr uint32_t kEncryptionHeaderSize = 12;

}  // namespace

int ZipEntryStream::Open(ZipArchive& archive, const char* password,
                         std::unique_ptr<ZipEntryStream>& stream) {
  stream.reset();
  if (!archive.current_valid()) return kUnzBadParameter;
  ZipLocalLayout layout;
  if (archive.CheckLocalHeader(layout) != kUnzOk) return kUnzBadZip;
  const ZipCentralHeader& header = archive.current();
  std::unique_ptr<ZipEntryStream> opened(new ZipEntryStream(archive.source()));
  opened->buffer_.resize(kReadBufferSize);
  opened->method_ = header.method;
  if (header.method == 8) {
    if (inflateInit2(&opened->inflater_, -MAX_WBITS) != Z_OK) return kUnzOutOfMemory;
    opened->inflater_ready_ = true;
  }
  opened->next_position_ = layout.data_position;
  opened->expected_crc_ = header.crc;
  opened->compressed_left_ = header.compressed_size;
  opened->uncompressed_left_ = header.size;
  if (header.flags & kZipFlagEncrypted) {
    opened->crypto_.emplace(password);
    opened->header_to_skip_ = kEncryptionHeaderSize;
    opened->check_byte_ = static_cast<uint8_t>(
        (header.flags & kZipFlagDataDescriptor) ? header.dos_time >> 8 : header.crc >> 24);
  }
  stream = std::move(opened);
  return kUnzOk;
}

ZipEntryStream::~ZipEntryStream() {
  if (inflater_ready_) inflateEnd(&inflater_);
}

bool ZipEntryStream::Refill() {
  const uint32_t count = std::min<uint32_t>(kReadBufferSize, compressed_left_);
  if (!source_.Seek(next_position_) || !source_.Read(buffer_.data(), count)) return false;
  next_position_ += count;
  compressed_left_ -= count;
  if (crypto_)
    for (uint32_t i = 0; i < count; ++i) buffer_[i] = crypto_->Decrypt(buffer_[i]);
  pending_offset_ = 0;
  pending_ = count;
  return true;
}

int ZipEntryStream::SkipEncryptionHeader() {
  const size_t take = std::min<size_t>(pending_, header_to_skip_);
  if (take == 0) return kUnzReadError;
  last_header_byte_ = buffer_[pending_offset_ + take - 1];
  pending_offset_ += take;
  pending_ -= take;
  header_to_skip_ -= static_cast<uint32_t>(take);
  if (header_to_skip_ == 0 && last_header_byte_ != check_byte_) return kUnzWrongPassword;
  return kUnzOk;
}

int ZipEntryStream::CopyStored(uint8_t* destination, uint32_t room) {
  const uint32_t count = static_cast<uint32_t>(std::min<size_t>(room, pending_));
  std::memcpy(destination, buffer_.data() + pending_offset_, count);
  pending_offset_ += count;
  pending_ -= count;
  return static_cast<int>(count);
}

int ZipEntryStream::InflateStep(uint8_t* destination, uint32_t room, bool& stream_ended) {
  inflater_.next_in = buffer_.data() + pending_offset_;
  inflater_.avail_in = static_cast<uInt>(pending_);
  inflater_.next_out = destination;
  inflater_.avail_out = room;
  const int status = inflate(&inflater_, Z_SYNC_FLUSH);
  const size_t consumed = pending_ - inflater_.avail_in;
  pending_offset_ += consumed;
  pending_ -= consumed;
  const uint32_t produced = room - inflater_.avail_out;
  stream_ended = status == Z_STREAM_END;
  if (status != Z_OK && status != Z_STREAM_END) return status < 0 ? status : kUnzReadError;
  if (produced == 0 && consumed == 0 && !stream_ended) return kUnzReadError;
  return static_cast<int>(produced);
}

int ZipEntryStream::Read(uint8_t* destination, uint32_t length, bool& finished) {
  finished = false;
  const uint32_t limit = std::min(length, uncompressed_left_);
  if (uncompressed_left_ == 0) finished = true;
  uint32_t delivered = 0;
  while (delivered < limit) {
    if (pending_ == 0 && compressed_left_ > 0 && !Refill()) return kUnzReadError;
    if (header_to_skip_ > 0) {
      const int skipped = SkipEncryptionHeader();
      if (skipped != kUnzOk) return skipped;
      continue;
    }
    bool stream_ended = false;
    const int produced =
        method_ == 0 ? CopyStored(destination + delivered, limit - delivered)
                     : InflateStep(destination + delivered, limit - delivered, stream_ended);
    if (produced < 0) return produced;
    if (produced == 0 && method_ == 0) return kUnzReadError;  // data shorter than its size
    crc_ = static_cast<uint32_t>(crc32(crc_, destination + delivered, produced));
    delivered += produced;
    uncompressed_left_ -= produced;
    if (stream_ended && uncompressed_left_ != 0) return kUnzReadError;  // stream ended early
    if (uncompressed_left_ == 0) finished = true;
    if (finished) break;
  }
  if (finished && crc_ != expected_crc_) return kUnzCrcError;
  return static_cast<int>(delivered);
}

}  // namespace ui
