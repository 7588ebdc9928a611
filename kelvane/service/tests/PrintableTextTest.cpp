#include <gtest/gtest.h>

#include <string>

#include "PrintableText.h"

namespace {

TEST(PrintableTextTest, KeepsOnlyWhatTypesAsText) {
  using namespace std::string_literals;
  const struct {
    std::wstring text;
    std::wstring printable;
  } cases[] = {
      {L"你好, world! \x3000~", L"你好, world! \x3000~"},
      {L"a\bb\x1b" L"c\td\re\nf\x7fg", L"abcdefg"},
      {L"cut\0here"s, L"cuthere"},
      {L"\x80\x85\x9f\xa0\xe9", L"\xa0\xe9"},  // C1 controls go, no-break space and é stay
      {L"\xD83D\xDE00", L"\xD83D\xDE00"},      // a surrogate pair is text
      {L"\b\x1b\x01", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PrintableText(c.text), c.printable) << testing::PrintToString(c.text);
  }
}

}  // namespace
