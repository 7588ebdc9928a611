#include "archive/ZipApi.h"

namespace ui {

ZipHandle*& ResourceZip() {
  static ZipHandle* handle = nullptr;
  return handle;
}

uint32_t& LastZipResult() {
  static uint32_t result = kZipOk;
  return result;
}

ZipHandle* OpenZip(const void* data, uint32_t length, const char* password) {
  uint32_t result = kZipOk;
  std::unique_ptr<Unzipper> unzipper = Unzipper::Open(data, length, password, result);
  LastZipResult() = result;
  if (!unzipper) return nullptr;
  ZipHandle* handle = new ZipHandle;
  handle->unzipper = std::move(unzipper);
  return handle;
}

uint32_t CloseZip() {
  ZipHandle*& slot = ResourceZip();
  uint32_t result = kZipOk;
  if (!slot) {
    result = kZipBadArgument;
  } else if (slot->kind != kUnzipperHandle) {
    result = kZipNotUnzipHandle;
  } else {
    delete slot;
    slot = nullptr;
  }
  LastZipResult() = result;
  return result;
}

uint32_t FindZipEntry(Unzipper* unzipper, const std::wstring& path, int& index, ZipEntry& entry) {
  index = -1;
  entry = ZipEntry();
  if (!unzipper) return kZipBadArgument;
  return unzipper->Find(path, index, entry);
}

uint32_t ReadZipEntry(Unzipper* unzipper, int index, void* destination, uint32_t length) {
  if (!unzipper) return kZipBadArgument;
  return unzipper->Read(index, destination, length);
}

}  // namespace ui
