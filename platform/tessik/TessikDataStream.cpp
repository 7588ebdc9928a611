#include "tessik/TessikDataStream.h"

#include <algorithm>
#include <new>

bool CTessikDataStream::InsertData(void* data, unsigned long length) {
  if (length == 0) return true;
  if (data == nullptr) return false;
  const auto* first = static_cast<const unsigned char*>(data);
  try {
    bytes_.insert(bytes_.end(), first, first + length);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

unsigned long CTessikDataStream::QueryData(void* buffer, unsigned long length) const {
  if (buffer == nullptr) return 0;
  const unsigned long count = std::min<unsigned long>(length, bytes_.size());
  std::copy_n(bytes_.begin(), count, static_cast<unsigned char*>(buffer));
  return count;
}

unsigned long CTessikDataStream::TellData(unsigned long length) {
  const unsigned long count = std::min<unsigned long>(length, bytes_.size());
  bytes_.erase(bytes_.begin(), bytes_.begin() + count);
  return count;
}

void CTessikDataStream::GetBurthenInfo(tagStreamInfo& info) const {
  info.ulDataLength = static_cast<unsigned long>(bytes_.size());
}
