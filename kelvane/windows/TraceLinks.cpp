#include "TraceLinks.h"

#include <cwchar>

namespace {

const wchar_t kLinkStart[] = L"http://";

bool IsLinkCharacter(wchar_t ch) {
  return (ch >= L'0' && ch <= L'9') || (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z') ||
         (ch != L'\0' && wcschr(L"#%&+./:=?", ch) != nullptr);
}

}  // namespace

std::vector<TraceTextRun> SplitLinkRuns(const std::wstring& line) {
  std::vector<TraceTextRun> runs;
  size_t plainStart = 0;
  size_t linkStart = line.find(kLinkStart);
  while (linkStart != std::wstring::npos) {
    size_t linkEnd = linkStart + wcslen(kLinkStart);
    while (linkEnd < line.size() && IsLinkCharacter(line[linkEnd])) ++linkEnd;
    if (linkStart > plainStart) {
      runs.push_back({line.substr(plainStart, linkStart - plainStart), false});
    }
    runs.push_back({line.substr(linkStart, linkEnd - linkStart), true});
    plainStart = linkEnd;
    linkStart = line.find(kLinkStart, linkEnd);
  }
  if (plainStart < line.size()) runs.push_back({line.substr(plainStart), false});
  return runs;
}
