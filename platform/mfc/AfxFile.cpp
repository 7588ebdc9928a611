#include "mfc/AfxFile.h"

#include <share.h>

namespace {

constexpr UINT kShareMask = 0x0070;
constexpr UINT kAccessMask = 0x0003;

DWORD DesiredAccess(UINT flags) {
  switch (flags & kAccessMask) {
    case CFile::modeWrite:
      return GENERIC_WRITE;
    case CFile::modeReadWrite:
      return GENERIC_READ | GENERIC_WRITE;
    default:
      return GENERIC_READ;
  }
}

DWORD ShareMode(UINT flags) {
  switch (flags & kShareMask) {
    case CFile::shareExclusive:
      return 0;
    case CFile::shareDenyWrite:
      return FILE_SHARE_READ;
    case CFile::shareDenyRead:
      return FILE_SHARE_WRITE;
    default:
      return FILE_SHARE_READ | FILE_SHARE_WRITE;
  }
}

DWORD CreationDisposition(UINT flags) {
  if (!(flags & CFile::modeCreate)) return OPEN_EXISTING;
  return (flags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

int StreamShareFlag(UINT flags) {
  switch (flags & kShareMask) {
    case CFile::shareExclusive:
      return _SH_DENYRW;
    case CFile::shareDenyWrite:
      return _SH_DENYWR;
    case CFile::shareDenyRead:
      return _SH_DENYRD;
    default:
      return _SH_DENYNO;
  }
}

// The fopen mode of the flags, as MFC's stdio files choose it.
std::wstring StreamMode(UINT flags) {
  std::wstring mode;
  if (flags & CFile::modeCreate) {
    mode = (flags & CFile::modeNoTruncate) ? L"a" : L"w";
  } else {
    mode = ((flags & kAccessMask) == CFile::modeWrite) ? L"a" : L"r";
  }
  if ((flags & kAccessMask) == CFile::modeReadWrite) mode += L'+';
  mode += (flags & CFile::typeBinary) ? L'b' : L't';
  return mode;
}

}  // namespace

CFile::~CFile() { CFile::Close(); }

BOOL CFile::Open(const wchar_t* path, UINT flags) {
  if (IsOpen() || path == nullptr) return FALSE;
  m_hFile = CreateFileW(path, DesiredAccess(flags), ShareMode(flags), nullptr,
                        CreationDisposition(flags), FILE_ATTRIBUTE_NORMAL, nullptr);
  return IsOpen();
}

void CFile::Close() {
  if (m_hFile == INVALID_HANDLE_VALUE) return;
  CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
}

BOOL CFile::Write(const void* data, UINT count) {
  DWORD written = 0;
  return IsOpen() && WriteFile(m_hFile, data, count, &written, nullptr) && written == count;
}

BOOL CFile::Flush() { return IsOpen() && FlushFileBuffers(m_hFile); }

CStdioFile::~CStdioFile() { CStdioFile::Close(); }

BOOL CStdioFile::Open(const wchar_t* path, UINT flags) {
  if (IsOpen() || path == nullptr) return FALSE;
  m_pStream = _wfsopen(path, StreamMode(flags).c_str(), StreamShareFlag(flags));
  return IsOpen();
}

void CStdioFile::Close() {
  if (m_pStream == nullptr) return;
  fclose(m_pStream);
  m_pStream = nullptr;
}

BOOL CStdioFile::Write(const void* data, UINT count) {
  return IsOpen() && fwrite(data, 1, count, m_pStream) == count;
}

BOOL CStdioFile::Flush() { return IsOpen() && fflush(m_pStream) == 0; }

BOOL CStdioFile::WriteString(const wchar_t* text) {
  return IsOpen() && text != nullptr && fputws(text, m_pStream) >= 0;
}
