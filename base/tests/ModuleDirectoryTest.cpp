#include "base/ModuleDirectory.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(GetCurrentModuleDirectory, IsTheFolderOfThisExecutable) {
  wchar_t exe[MAX_PATH]{};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const std::wstring directory = base::GetCurrentModuleDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), L'\\');
  EXPECT_EQ(std::wstring(exe).rfind(directory, 0), 0u);
  EXPECT_EQ(std::wstring(exe).find_first_of(L"\\/", directory.size()), std::wstring::npos);
}

struct CutCase {
  const wchar_t* path;
  const wchar_t* directory;
};

class DirectoryOfPath : public testing::TestWithParam<CutCase> {};

TEST_P(DirectoryOfPath, CutsAfterTheLastSeparator) {
  EXPECT_EQ(base::DirectoryOfPath(GetParam().path), GetParam().directory);
}

INSTANTIATE_TEST_SUITE_P(Table, DirectoryOfPath,
                         testing::Values(CutCase{L"C:\\Tools\\Doravel.exe", L"C:\\Tools\\"},
                                         CutCase{L"C:/Tools/Doravel.exe", L"C:/Tools/"},
                                         CutCase{L"C:\\Tools/sub\\a.exe", L"C:\\Tools/sub\\"},
                                         CutCase{L"C:\\Tools\\", L"C:\\Tools\\"}, CutCase{L"\\a.exe", L""},
                                         CutCase{L"a.exe", L""}, CutCase{L"\\", L""}, CutCase{L"", L""}));

}  // namespace
