#include "TraceFormat.h"

#include <gtest/gtest.h>

namespace {

struct LevelLook {
  int level;
  wchar_t letter;
  COLORREF color;
};

const LevelLook kLooks[] = {
    {0, L'I', 0x8CFFFF}, {1, L'N', 0x00FF00}, {2, L'W', 0xFF00FF},  {3, L'E', 0x0000FF},
    {4, L'D', 0xFFFF00}, {-1, L'U', 0},       {5, L'U', 0},         {100, L'U', 0},
};

TEST(TraceFormatTest, LevelsHaveTheirLetterAndColour) {
  for (const LevelLook& look : kLooks) {
    EXPECT_EQ(TraceLevelLetter(look.level), look.letter) << look.level;
    EXPECT_EQ(TraceLevelColor(look.level), look.color) << look.level;
  }
}

TEST(TraceFormatTest, StampHasPaddedFields) {
  SYSTEMTIME time{};
  time.wYear = 2026;
  time.wMonth = 3;
  time.wDay = 9;
  time.wHour = 7;
  time.wMinute = 5;
  time.wSecond = 1;
  EXPECT_STREQ(FormatTraceStamp(time), L"【 2026-03-09 07:05:01 】");
}

}  // namespace
