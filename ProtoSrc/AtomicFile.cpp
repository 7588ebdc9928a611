#include "AtomicFile.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

namespace {

constexpr DWORD kPieceBytes = 64 * 1024;

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

// Other programs may read, write, replace or delete the file meanwhile.
HANDLE OpenForReading(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Reads the next piece; false on a read error. An empty piece is the end of the file.
bool ReadPiece(HANDLE file, char* buffer, DWORD* read) {
  *read = 0;
  return ReadFile(file, buffer, kPieceBytes, read, nullptr) != FALSE;
}

bool WriteAll(HANDLE file, const char* data, size_t size) {
  size_t offset = 0;
  while (offset < size) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - offset, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, data + offset, chunk, &written, nullptr) || written == 0) return false;
    offset += written;
  }
  return true;
}

// Writes the temporary file through `fill`, flushes it and moves it to path; over an
// existing file only when `replace` is set.
bool WriteThroughTemporary(const std::wstring& path, bool replace, const std::function<bool(HANDLE)>& fill) {
  const std::wstring temporary = TemporaryPathFor(path);
  FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  const bool written = fill(file.get()) && FlushFileBuffers(file.get());
  const bool closed = file.Close();
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
  if (written && closed && MoveFileExW(temporary.c_str(), path.c_str(), flags)) return true;
  DeleteFileW(temporary.c_str());
  return false;
}

}  // namespace

ReadResult ReadWholeFile(const std::wstring& path, uint64_t max_bytes, std::string* bytes) {
  FileHandle file(OpenForReading(path));
  if (!file.valid()) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::kAbsent
                                                                          : ReadResult::kCannotRead;
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return ReadResult::kCannotRead;
  if (static_cast<uint64_t>(size.QuadPart) > max_bytes) return ReadResult::kTooLarge;
  std::string read_bytes;
  read_bytes.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[kPieceBytes];
  for (;;) {
    DWORD read = 0;
    if (!ReadPiece(file.get(), buffer, &read)) return ReadResult::kCannotRead;
    if (read == 0) break;
    // The file may grow while it is read.
    if (read_bytes.size() + read > max_bytes) return ReadResult::kTooLarge;
    read_bytes.append(buffer, read);
  }
  *bytes = std::move(read_bytes);
  return ReadResult::kRead;
}

bool SameFileBytes(const std::wstring& first, const std::wstring& second) {
  FileHandle a(OpenForReading(first));
  FileHandle b(OpenForReading(second));
  LARGE_INTEGER size_a, size_b;
  if (!a.valid() || !b.valid() || !GetFileSizeEx(a.get(), &size_a) || !GetFileSizeEx(b.get(), &size_b) ||
      size_a.QuadPart != size_b.QuadPart) {
    return false;
  }
  std::string piece_a(kPieceBytes, '\0'), piece_b(kPieceBytes, '\0');
  for (;;) {
    DWORD read_a = 0, read_b = 0;
    if (!ReadPiece(a.get(), piece_a.data(), &read_a) || !ReadPiece(b.get(), piece_b.data(), &read_b) ||
        read_a != read_b || std::memcmp(piece_a.data(), piece_b.data(), read_a) != 0) {
      return false;
    }
    if (read_a == 0) return true;
  }
}

std::wstring TemporaryPathFor(const std::wstring& path) { return path + L".tmp"; }

bool WriteFileAtomically(const std::wstring& path, const std::string& bytes) {
  return WriteThroughTemporary(path, true, [&](HANDLE file) { return WriteAll(file, bytes.data(), bytes.size()); });
}

bool CreateFileAtomically(const std::wstring& path, const std::string& bytes) {
  return WriteThroughTemporary(path, false, [&](HANDLE file) { return WriteAll(file, bytes.data(), bytes.size()); });
}

bool CopyToNewFileAtomically(const std::wstring& source, const std::wstring& path) {
  FileHandle from(OpenForReading(source));
  if (!from.valid()) return false;
  return WriteThroughTemporary(path, false, [&](HANDLE file) {
    char buffer[kPieceBytes];
    for (DWORD read = 0;;) {
      if (!ReadPiece(from.get(), buffer, &read)) return false;
      if (read == 0) return true;
      if (!WriteAll(file, buffer, read)) return false;
    }
  });
}
