#include "AtomicFile.h"

#include <windows.h>

#include <algorithm>

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

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return std::nullopt;
    if (read == 0) return bytes;
    bytes.append(buffer, read);
  }
}

std::wstring TemporaryPathFor(const std::wstring& path) {
  return path + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"_" +
         std::to_wstring(GetCurrentThreadId());
}

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
