#include "mfc/AfxString.h"

#include <gtest/gtest.h>

namespace {

TEST(AfxStringTest, FormatReadsPercentSAsWide) {
  CString text;
  text.Format(L"%s=%d %c%s", L"名字", 7, L'中', L"");
  EXPECT_STREQ(text, L"名字=7 中");
  text.AppendFormat(L" %04d", 42);
  EXPECT_STREQ(text, L"名字=7 中 0042");
}

TEST(AfxStringTest, FormatHasNoLengthLimit) {
  const std::wstring longText(100000, L'y');
  CString text;
  text.Format(L"<%s>", longText.c_str());
  EXPECT_EQ(text.GetLength(), 100002);
}

TEST(AfxStringTest, BufferWritesEndAtTheFirstNul) {
  CString text(L"abc");
  wchar_t* buffer = text.GetBuffer(16);
  wcscpy(buffer, L"longer text");
  text.ReleaseBuffer();
  EXPECT_STREQ(text, L"longer text");
  text.GetBuffer(0)[2] = L'\0';
  text.ReleaseBuffer();
  EXPECT_EQ(text.GetLength(), 2);
}

TEST(AfxStringTest, ConcatenatesAndCompares) {
  const CString joined = L"a" + CString(L"b") + L"c";
  EXPECT_TRUE(joined == L"abc");
  EXPECT_TRUE(joined != CString(L"abd"));
  EXPECT_TRUE(CString(static_cast<const wchar_t*>(nullptr)).IsEmpty());
}

}  // namespace
