// Text conversion, splitting, replacing and path normalising.
#include <gtest/gtest.h>
#include <windows.h>

#include "text/TextUtils.h"

namespace ui {
namespace {

TEST(TextUtils, ConvertsUtf8AndCodePageText) {
  std::wstring wide = L"stale";
  EXPECT_TRUE(Utf8ToWide("", wide));
  EXPECT_EQ(wide, L"");
  EXPECT_TRUE(Utf8ToWide("\xE7\xA1\xAE\xE5\xAE\x9A ok", wide));
  EXPECT_EQ(wide, L"确定 ok");

  EXPECT_TRUE(MultiByteToWide("\xC8\xB7\xB6\xA8", wide, 936));  // GBK
  EXPECT_EQ(wide, L"确定");
  EXPECT_TRUE(MultiByteToWide(std::string("a\0b", 3), wide, CP_UTF8));
  EXPECT_EQ(wide, std::wstring(L"a\0b", 3));
  EXPECT_TRUE(MultiByteToWide("", wide, CP_UTF8));
  EXPECT_EQ(wide, L"");

  std::string narrow = "stale";
  EXPECT_TRUE(WideToMultiByte(L"取消", narrow));
  EXPECT_EQ(narrow, "\xE5\x8F\x96\xE6\xB6\x88");
  EXPECT_TRUE(WideToMultiByte(L"", narrow));
  EXPECT_EQ(narrow, "");
}

TEST(TextUtils, SplitsAtRunsOfDelimiters) {
  EXPECT_EQ(SplitString(L"  click   hover ", L" "), (std::list<std::wstring>{L"click", L"hover"}));
  EXPECT_EQ(SplitString(L"id==text", L"="), (std::list<std::wstring>{L"id", L"text"}));
  EXPECT_TRUE(SplitString(L"", L" ").empty());
  EXPECT_TRUE(SplitString(L"   ", L" ").empty());
}

TEST(TextUtils, ReplacesLeftToRightWithoutRescanning) {
  const struct {
    const wchar_t* find;
    const wchar_t* replacement;
    const wchar_t* text;
    const wchar_t* expected;
    int count;
  } cases[] = {
      {L"aa", L"a", L"aaaa", L"aa", 2},
      {L"a", L"aa", L"aba", L"aabaa", 2},
      {L"", L"x", L"abc", L"abc", 0},
      {L"a", L"x", L"", L"", 0},
      {L"\\n", L"\n", L"one\\ntwo", L"one\ntwo", 1},
  };
  for (const auto& c : cases) {
    std::wstring text = c.text;
    EXPECT_EQ(ReplaceAll(c.find, c.replacement, text), c.count) << c.text;
    EXPECT_EQ(text, c.expected);
  }
}

TEST(TextUtils, NormalisesPathSeparators) {
  EXPECT_EQ(NormalizeFilePath(L"skin//controls/a.png"), L"skin\\controls\\a.png");
  EXPECT_EQ(NormalizeFilePath(L"a\\\\\\b"), L"a\\\\b");
  EXPECT_EQ(NormalizeFilePath(L"plain"), L"plain");
}

TEST(TextUtils, CutsAtALengthWithoutSplittingAPair) {
  const std::wstring text = {L'a', L'b', 0xD83D, 0xDE00, L'c'};  // an emoji as a pair
  EXPECT_EQ(CutAtLength(text, 2), L"ab");
  EXPECT_EQ(CutAtLength(text, 3), L"ab");
  EXPECT_EQ(CutAtLength(text, 4), text.substr(0, 4));
  EXPECT_EQ(CutAtLength(text, 99), text);
  EXPECT_EQ(CutAtLength(text, 0), L"");
  EXPECT_EQ(CutAtLength(text, -1), L"");
}

}  // namespace
}  // namespace ui
