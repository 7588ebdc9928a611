#include "ZipWriter.h"

#include <zlib.h>

namespace {

void AppendU16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xff);
  out += static_cast<char>(v >> 8);
}

void AppendU32(std::string& out, uint32_t v) {
  AppendU16(out, static_cast<uint16_t>(v & 0xffff));
  AppendU16(out, static_cast<uint16_t>(v >> 16));
}

std::string RawDeflate(const std::string& data) {
  z_stream z{};
  deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, data.size()), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// Written from APPNOTE's description of traditional encryption.
class Encryptor {
 public:
  explicit Encryptor(const std::string& password) {
    for (char c : password) Update(static_cast<uint8_t>(c));
  }
  std::string Encrypt(const std::string& plain) {
    std::string out;
    for (char c : plain) {
      uint32_t temp = (keys_[2] | 2) & 0xffff;
      uint8_t key = static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
      out += static_cast<char>(static_cast<uint8_t>(c) ^ key);
      Update(static_cast<uint8_t>(c));
    }
    return out;
  }

 private:
  static uint32_t Crc(uint32_t crc, uint8_t b) {
    for (int i = 0; i < 8; ++i) {
      bool low = ((crc ^ b) & 1) != 0;
      crc >>= 1;
      b >>= 1;
      if (low) crc ^= 0xEDB88320u;
    }
    return crc;
  }
  void Update(uint8_t c) {
    keys_[0] = Crc(keys_[0], c);
    keys_[1] = (keys_[1] + (keys_[0] & 0xff)) * 134775813u + 1;
    keys_[2] = Crc(keys_[2], static_cast<uint8_t>(keys_[1] >> 24));
  }
  uint32_t keys_[3] = {0x12345678, 0x23456789, 0x34567890};
};

}  // namespace

void PutU16(std::string& bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<char>(value & 0xff);
  bytes[at + 1] = static_cast<char>(value >> 8);
}

void PutU32(std::string& bytes, size_t at, uint32_t value) {
  PutU16(bytes, at, static_cast<uint16_t>(value & 0xffff));
  PutU16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

std::string UnixTimeExtra(uint8_t flags, const std::vector<int32_t>& times) {
  std::string block = "UT";
  AppendU16(block, static_cast<uint16_t>(1 + 4 * times.size()));
  block += static_cast<char>(flags);
  for (int32_t t : times) AppendU32(block, static_cast<uint32_t>(t));
  return block;
}

std::string BuildZip(const std::vector<ZipWriterEntry>& entries, const std::string& comment,
                     ZipLayout* layout) {
  std::string archive, central;
  ZipLayout positions;
  for (const ZipWriterEntry& e : entries) {
    const uint32_t crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size())));
    std::string stored = e.deflate ? RawDeflate(e.data) : e.data;
    uint16_t flags = e.data_descriptor ? 0x0008 : 0;
    if (!e.password.empty()) {
      flags |= 0x0001;
      std::string header = "0123456789a";
      header += static_cast<char>(e.data_descriptor ? (e.dos_time >> 8) & 0xff : crc >> 24);
      stored = Encryptor(e.password).Encrypt(header + stored);
    }
    const uint16_t method = e.deflate ? 8 : 0;
    const bool descriptor = e.data_descriptor;
    positions.local_headers.push_back(archive.size());
    const uint32_t local_offset = static_cast<uint32_t>(archive.size());
    AppendU32(archive, 0x04034b50);
    AppendU16(archive, 20);
    AppendU16(archive, flags);
    AppendU16(archive, method);
    AppendU32(archive, e.dos_time);
    AppendU32(archive, descriptor ? 0 : crc);
    AppendU32(archive, descriptor ? 0 : static_cast<uint32_t>(stored.size()));
    AppendU32(archive, descriptor ? 0 : static_cast<uint32_t>(e.data.size()));
    AppendU16(archive, static_cast<uint16_t>(e.name.size()));
    AppendU16(archive, static_cast<uint16_t>(e.local_extra.size()));
    archive += e.name + e.local_extra + stored;
    if (descriptor) {
      AppendU32(archive, 0x08074b50);
      AppendU32(archive, crc);
      AppendU32(archive, static_cast<uint32_t>(stored.size()));
      AppendU32(archive, static_cast<uint32_t>(e.data.size()));
    }
    positions.central_headers.push_back(central.size());
    AppendU32(central, 0x02014b50);
    AppendU16(central, e.version_made_by);
    AppendU16(central, 20);
    AppendU16(central, flags);
    AppendU16(central, method);
    AppendU32(central, e.dos_time);
    AppendU32(central, crc);
    AppendU32(central, static_cast<uint32_t>(stored.size()));
    AppendU32(central, static_cast<uint32_t>(e.data.size()));
    AppendU16(central, static_cast<uint16_t>(e.name.size()));
    AppendU16(central, 0);
    AppendU16(central, 0);
    AppendU16(central, 0);
    AppendU16(central, 0);
    AppendU32(central, e.external_attributes);
    AppendU32(central, local_offset);
    central += e.name;
  }
  const uint32_t central_offset = static_cast<uint32_t>(archive.size());
  for (size_t& at : positions.central_headers) at += central_offset;
  archive += central;
  positions.end_record = archive.size();
  AppendU32(archive, 0x06054b50);
  AppendU16(archive, 0);
  AppendU16(archive, 0);
  AppendU16(archive, static_cast<uint16_t>(entries.size()));
  AppendU16(archive, static_cast<uint16_t>(entries.size()));
  AppendU32(archive, static_cast<uint32_t>(central.size()));
  AppendU32(archive, central_offset);
  AppendU16(archive, static_cast<uint16_t>(comment.size()));
  archive += comment;
  if (layout) *layout = positions;
  return archive;
}
