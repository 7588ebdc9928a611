#include "AtomicFile.h"

#include <windows.h>

#include <algorithm>
#include <utility>

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  bool Close() {
    if (!valid()) return true;
    const bool closed = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t offset = 0;
  while (offset < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - offset, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + offset, chunk, &written, nullptr) || written == 0) return false;
    offset += written;
  }
  return true;
}

}  // namespace

ReadResult ReadWholeFile(const std::wstring& path, uint64_t max_bytes, std::string* bytes) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file.valid() || !GetFileSizeEx(file.get(), &size)) return ReadResult::kCannotRead;
  if (static_cast<uint64_t>(size.QuadPart) > max_bytes) return ReadResult::kTooLarge;
  std::string read_bytes;
  read_bytes.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[64 * 1024];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return ReadResult::kCannotRead;
    if (read == 0) break;
    // The file may grow while it is read.
    if (read_bytes.size() + read > max_bytes) return ReadResult::kTooLarge;
    read_bytes.append(buffer, read);
  }
  *bytes = std::move(read_bytes);
  return ReadResult::kRead;
}

std::wstring TemporaryPathFor(const std::wstring& path) { return path + L".tmp"; }

bool WriteFileAtomically(const std::wstring& path, const std::string& bytes) {
  const std::wstring temporary = TemporaryPathFor(path);
  FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  const bool written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
  const bool closed = file.Close();
  if (written && closed &&
      MoveFileExW(temporary.c_str(), path.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(temporary.c_str());
  return false;
}
