#include "TraceFormat.h"

namespace {

struct TraceLevelLook {
  COLORREF color;
  wchar_t letter;
};

const TraceLevelLook kLevelLooks[] = {
    {RGB(255, 255, 140), L'I'},  // 0 info
    {RGB(0, 255, 0), L'N'},      // 1 normal
    {RGB(255, 0, 255), L'W'},    // 2 warning
    {RGB(255, 0, 0), L'E'},      // 3 error
    {RGB(0, 255, 255), L'D'},    // 4 debug
};
const TraceLevelLook kUnknownLevelLook = {RGB(0, 0, 0), L'U'};

const TraceLevelLook& LookOf(int level) {
  if (level < 0 || level >= static_cast<int>(ARRAYSIZE(kLevelLooks))) return kUnknownLevelLook;
  return kLevelLooks[level];
}

}  // namespace

COLORREF TraceLevelColor(int level) { return LookOf(level).color; }

wchar_t TraceLevelLetter(int level) { return LookOf(level).letter; }

CString FormatTraceStamp(const SYSTEMTIME& time) {
  CString stamp;
  stamp.Format(L"【 %04d-%02d-%02d %02d:%02d:%02d 】", time.wYear, time.wMonth, time.wDay,
               time.wHour, time.wMinute, time.wSecond);
  return stamp;
}
