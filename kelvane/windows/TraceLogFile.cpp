#include "TraceLogFile.h"

#include "SettingsStore.h"
#include "tessik/TessikService.h"

namespace {
constexpr UINT kAppendTextFlags =
    CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite | CFile::shareDenyNone |
    CFile::typeText;
}

void CTraceLogFile::SetPrefix(const wchar_t* prefix) { m_prefix = prefix; }

bool CTraceLogFile::Open(const wchar_t* folder, const SYSTEMTIME& now) {
  Close();
  m_logFolder = (folder && *folder) ? CString(folder) + L"\\Log" : CString(L"Log");
  return OpenFileNamedBy(now);
}

void CTraceLogFile::Close() {
  m_file.Close();
  m_path.Empty();
}

bool CTraceLogFile::OpenFileNamedBy(const SYSTEMTIME& time) {
  m_fileTime = time;
  CString path;
  path.Format(L"%s\\%s_%04d-%02d-%02d %02d-%02d-%02d.txt", m_logFolder.GetString(),
              m_prefix.GetString(), time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
              time.wSecond);
  if (!CreateFolderPath(m_logFolder.GetString()) || !m_file.Open(path, kAppendTextFlags)) {
    return false;
  }
  m_path = path;
  return true;
}

bool CTraceLogFile::WriteLine(const SYSTEMTIME& now, const CString& stamp, wchar_t letter,
                              const wchar_t* text) {
  if (!IsOpen()) return false;
  if (now.wDay != m_fileTime.wDay) {
    Close();
    if (!OpenFileNamedBy(now)) return false;
  }
  CString line;
  line.Format(L"%s <%c> %s\n", stamp.GetString(), letter, text ? text : L"");
  // GBK bytes; a character GBK lacks becomes '?' rather than ending the line.
  const std::string bytes = CTessikService::WStringToString(line.GetString());
  if (!m_file.Write(bytes.data(), static_cast<UINT>(bytes.size())) || !m_file.Flush()) {
    Close();
    return false;
  }
  return true;
}
