#include "mfc/AfxFile.h"

#include <gtest/gtest.h>

#include "FileBytes.h"
#include "TempFolder.h"

namespace {

constexpr UINT kAppendText = CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite |
                             CFile::shareDenyNone | CFile::typeText;

TEST(AfxFileTest, StdioTextFileAppendsWithCrLf) {
  TempFolder folder;
  const std::wstring path = folder.File(L"log.txt");
  for (const wchar_t* line : {L"one\n", L"two\n"}) {
    CStdioFile file;
    ASSERT_TRUE(file.Open(path.c_str(), kAppendText));
    EXPECT_TRUE(file.WriteString(line));
  }
  EXPECT_EQ(ReadBytes(path), "one\r\ntwo\r\n");
}

TEST(AfxFileTest, OpenFlagsDecideCreateAndTruncate) {
  TempFolder folder;
  const std::wstring path = folder.File(L"data.bin");
  CFile file;
  EXPECT_FALSE(file.Open(path.c_str(), CFile::modeWrite)) << "missing file without modeCreate";
  WriteBytes(path, "old content");
  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
  EXPECT_TRUE(file.Write("new", 3));
  file.Close();
  EXPECT_EQ(ReadBytes(path), "new");
}

TEST(AfxFileTest, ClosedFilesReportFailure) {
  CFile file;
  EXPECT_FALSE(file.Write("x", 1));
  EXPECT_FALSE(file.Flush());
  CStdioFile stream;
  EXPECT_FALSE(stream.WriteString(L"x"));
  EXPECT_FALSE(stream.Open(nullptr, CFile::modeRead));
}

}  // namespace
