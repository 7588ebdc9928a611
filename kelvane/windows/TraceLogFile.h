// The trace log: one text file per run and per day, in the Log folder of a given folder.
#pragma once

#include <windows.h>

#include "mfc/AfxFile.h"
#include "mfc/AfxString.h"

class CTraceLogFile {
 public:
  CTraceLogFile() = default;
  CTraceLogFile(const CTraceLogFile&) = delete;
  CTraceLogFile& operator=(const CTraceLogFile&) = delete;

  // First part of the file names.
  void SetPrefix(const wchar_t* prefix);
  // Opens "<folder>\Log\<prefix>_yyyy-mm-dd hh-mm-ss.txt" for appending, named by now,
  // creating the folders; an empty folder means "Log" under the current directory.
  bool Open(const wchar_t* folder, const SYSTEMTIME& now);
  void Close();
  bool IsOpen() const { return m_file.IsOpen(); }
  // The file being written, empty when closed.
  const CString& FilePath() const { return m_path; }

  // Writes "stamp <letter> text" and CR LF in GBK, and flushes. On a new day a new file is
  // opened first, in the same folder. A failure closes the log for good and returns false.
  bool WriteLine(const SYSTEMTIME& now, const CString& stamp, wchar_t letter, const wchar_t* text);

 private:
  bool OpenFileNamedBy(const SYSTEMTIME& time);

  CStdioFile m_file;
  CString m_prefix = L"Log";
  CString m_logFolder;
  CString m_path;
  SYSTEMTIME m_fileTime{};
};
