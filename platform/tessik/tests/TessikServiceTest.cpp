#include "tessik/TessikService.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

struct Conversion {
  const char* gbk;
  const wchar_t* wide;
};

// "中文" and "麦克风" are GBK bytes here, whatever the process's ANSI code page.
const Conversion kConversions[] = {
    {"", L""},
    {"USB Audio", L"USB Audio"},
    {"\xD6\xD0\xCE\xC4", L"中文"},
    {"\xC2\xF3\xBF\xCB\xB7\xE7 (2- USB)", L"麦克风 (2- USB)"},
};

TEST(TessikServiceTest, ConvertsGbkAndUtf16BothWays) {
  for (const Conversion& c : kConversions) {
    EXPECT_EQ(CTessikService::StringToWString(c.gbk), c.wide) << c.gbk;
    EXPECT_EQ(CTessikService::WStringToString(c.wide), c.gbk) << c.gbk;
  }
}

TEST(TessikServiceTest, KeepsEmbeddedNulBytes) {
  const std::string narrow("a\0b", 3);
  EXPECT_EQ(CTessikService::StringToWString(narrow), std::wstring(L"a\0b", 3));
}

TEST(TessikServiceTest, WorkDirectoryIsTheExecutablesFolderWithoutSeparator) {
  wchar_t folder[260];
  ASSERT_TRUE(CTessikService::GetWorkDirectory(folder, 260));
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  const std::wstring path(module);
  EXPECT_EQ(std::wstring(folder), path.substr(0, path.rfind(L'\\')));
}

TEST(TessikServiceTest, WorkDirectoryFailsCleanlyInTooSmallBuffer) {
  wchar_t folder[4] = L"xyz";
  EXPECT_FALSE(CTessikService::GetWorkDirectory(folder, 4));
  EXPECT_STREQ(folder, L"");
}

}  // namespace
