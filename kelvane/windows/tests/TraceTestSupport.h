// Helpers of the trace tests: clock values and console inspection.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <functional>
#include <string>

#include "PumpUntil.h"
#include "tessik/TessikService.h"

inline SYSTEMTIME MakeTime(WORD year, WORD month, WORD day, WORD hour, WORD minute,
                           WORD second) {
  SYSTEMTIME time{};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  time.wHour = hour;
  time.wMinute = minute;
  time.wSecond = second;
  return time;
}

// The window's text with the line ends as the rich edit keeps them ("\r").
inline std::wstring RichText(HWND edit) {
  GETTEXTLENGTHEX lengthQuery{GTL_NUMCHARS | GTL_PRECISE, 1200};
  const LRESULT length = SendMessageW(edit, EM_GETTEXTLENGTHEX,
                                      reinterpret_cast<WPARAM>(&lengthQuery), 0);
  std::wstring text(length + 1, L'\0');
  GETTEXTEX query{};
  query.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  query.flags = GT_DEFAULT;
  query.codepage = 1200;
  text.resize(SendMessageW(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                           reinterpret_cast<LPARAM>(text.data())));
  return text;
}

// Character format of the character at the position.
inline CHARFORMAT2W FormatAt(HWND edit, long position) {
  CHARRANGE range{position, position + 1};
  SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  return format;
}

// A log line as the file holds it: GBK with CR LF.
inline std::string LogLine(const std::wstring& stamp, char letter, const std::wstring& text) {
  return CTessikService::WStringToString(stamp + L" <" + wchar_t(letter) + L"> " + text) + "\r\n";
}
