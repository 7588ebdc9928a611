// CFile (a Win32 file handle) and CStdioFile (a C runtime stream), with MFC's open flags.
// Failures are results, never exceptions.
#pragma once

#include <windows.h>

#include <cstdio>

#include "mfc/AfxString.h"

class CFile {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };

  CFile() = default;
  // Closes the file when it is still open.
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // modeCreate makes or truncates the file (keeps its content with modeNoTruncate).
  virtual BOOL Open(const wchar_t* path, UINT flags);
  virtual void Close();
  // FALSE unless every byte was written.
  virtual BOOL Write(const void* data, UINT count);
  virtual BOOL Flush();
  virtual BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

  HANDLE m_hFile = INVALID_HANDLE_VALUE;
};

// typeText streams turn "\n" into CR LF and wide text into the C runtime locale's code
// page (setlocale(LC_CTYPE, ...)); typeBinary streams write the bytes as they are.
class CStdioFile : public CFile {
 public:
  CStdioFile() = default;
  ~CStdioFile() override;

  // modeCreate | modeNoTruncate appends.
  BOOL Open(const wchar_t* path, UINT flags) override;
  void Close() override;
  BOOL Write(const void* data, UINT count) override;
  BOOL Flush() override;
  BOOL IsOpen() const override { return m_pStream != nullptr; }
  BOOL WriteString(const wchar_t* text);

  FILE* m_pStream = nullptr;
};
