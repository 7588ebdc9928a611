#include "TraceLinks.h"

#include <gtest/gtest.h>

bool operator==(const TraceTextRun& a, const TraceTextRun& b) {
  return a.text == b.text && a.link == b.link;
}

void PrintTo(const TraceTextRun& run, std::ostream* os) {
  *os << (run.link ? "link:" : "text:") << run.text.size() << " chars";
}

namespace {

struct LinkCase {
  const wchar_t* line;
  std::vector<TraceTextRun> runs;
};

TEST(TraceLinksTest, SplitsLinkRunsFromPlainText) {
  const LinkCase cases[] = {
      {L"", {}},
      {L"no link here", {{L"no link here", false}}},
      {L"see http://a.b/c d", {{L"see ", false}, {L"http://a.b/c", true}, {L" d", false}}},
      {L"http://x.cn/p?q=1&r=%20#top\n", {{L"http://x.cn/p?q=1&r=%20#top", true}, {L"\n", false}}},
      {L"http://host/a-b", {{L"http://host/a", true}, {L"-b", false}}},
      {L"http://host/a_b", {{L"http://host/a", true}, {L"_b", false}}},
      {L"http://a+b http://c", {{L"http://a+b", true}, {L" ", false}, {L"http://c", true}}},
      {L"https://secure.cn", {{L"https://secure.cn", false}}},
      {L"地址http://中", {{L"地址", false}, {L"http://", true}, {L"中", false}}},
  };
  for (const LinkCase& c : cases) {
    EXPECT_EQ(SplitLinkRuns(c.line), c.runs) << "case with " << std::wstring(c.line).size() << " chars";
  }
}

}  // namespace
