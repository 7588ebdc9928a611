#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "base/StringPrintf.h"
#include "base/StringToInt.h"

namespace {

// Lengths around the first buffer (1024) and the first doubling (2048).
class StringPrintfLength : public testing::TestWithParam<size_t> {};

TEST_P(StringPrintfLength, FormatsTheWholeText) {
  const std::wstring text(GetParam(), L'x');
  EXPECT_EQ(base::StringPrintf(L"%s", text.c_str()), text);
  EXPECT_EQ(base::StringPrintf(L"%ls|%d", text.c_str(), 7), text + L"|7");
}

INSTANTIATE_TEST_SUITE_P(BufferEdges, StringPrintfLength, testing::Values(0, 1023, 1024, 1025, 2047, 2048, 2049, 5000));

TEST(StringPrintf, PercentSTakesAWideString) {
  EXPECT_EQ(base::StringPrintf(L"%s=%d (%s)", L"确定", 42, L"OK"), L"确定=42 (OK)");
}

struct StringToIntCase {
  const wchar_t* text;
  int value;
  bool ok;
};

class StringToIntTable : public testing::TestWithParam<StringToIntCase> {};

TEST_P(StringToIntTable, ParsesValueAndStrictness) {
  const StringToIntCase& c = GetParam();
  const std::wstring text(c.text);
  int value = -1;
  EXPECT_EQ(base::StringToInt(text.data(), text.data() + text.size(), &value), c.ok);
  EXPECT_EQ(value, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringToIntTable,
    testing::Values(StringToIntCase{L"42", 42, true}, StringToIntCase{L" 42", 42, false},
                    StringToIntCase{L"\t-7", -7, false}, StringToIntCase{L"+15", 15, true},
                    StringToIntCase{L"-2147483648", INT_MIN, true}, StringToIntCase{L"2147483647", INT_MAX, true},
                    StringToIntCase{L"2147483648", INT_MAX, false}, StringToIntCase{L"-2147483649", INT_MIN, false},
                    StringToIntCase{L"99999999999", INT_MAX, false}, StringToIntCase{L"12a", 12, false},
                    StringToIntCase{L"12 ", 12, false}, StringToIntCase{L"+", 0, false},
                    StringToIntCase{L"-", 0, false}, StringToIntCase{L"", 0, false}, StringToIntCase{L"   ", 0, false},
                    StringToIntCase{L"x1", 0, false}, StringToIntCase{L"007", 7, true}));

TEST(StringToInt, StopsAtTheEndOfTheRange) {
  const wchar_t text[] = L"12345";
  int value = 0;
  EXPECT_TRUE(base::StringToInt(text, text + 3, &value));
  EXPECT_EQ(value, 123);
}

}  // namespace
