// The one UTF-8 codec: every malformed sequence becomes its own U+FFFD, on every build.
#include <gtest/gtest.h>

#include <string>

#include "text/Utf8.h"

namespace ui {
namespace {

std::wstring Decode(const std::string& bytes) { return Utf8BytesToWide(bytes.data(), bytes.size()); }

TEST(Utf8, DecodesEachMalformedSequenceToOneReplacement) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"", L""},
      {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
      {"\xC3\xA9\xE7\x95\x8C\xF0\x9F\x98\x80", L"\u00E9\u754C\U0001F600"},
      {"\xEF\xBF\xBD\xF4\x8F\xBF\xBF", L"\uFFFD\U0010FFFF"},
      {"a\x80" "b", L"a\uFFFDb"},                          // lone continuation byte
      {"\x80\xBF", L"\uFFFD\uFFFD"},
      {"\xC0\xAF\xC1\xBF", L"\uFFFD\uFFFD\uFFFD\uFFFD"},    // overlong two-byte forms
      {"\xE0\x80\xAF", L"\uFFFD\uFFFD\uFFFD"},              // overlong three-byte form
      {"\xF0\x80\x80\xAF", L"\uFFFD\uFFFD\uFFFD\uFFFD"},    // overlong four-byte form
      {"\xED\xA0\x80\xED\xBF\xBF", L"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},  // surrogates
      {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},    // above U+10FFFF
      {"\xF5\xFE\xFF", L"\uFFFD\uFFFD\uFFFD"},              // never a lead byte
      {"\xE7\x95", L"\uFFFD"},                              // cut short at the end
      {"\xF0\x9F\x98", L"\uFFFD"},
      {"\xE7\x95<a\xC3", L"\uFFFD<a\uFFFD"},                // cut short before the next character
      {"\xC3\xC3\xA9", L"\uFFFD\u00E9"},
      {"<a b=\"\xE7\x95\"/>", L"<a b=\"\uFFFD\"/>"},
      // Long ASCII runs, with other bytes inside and after them.
      {std::string(40, 'x') + "\xC3\xA9" + std::string(17, 'y') + "\x80",
       std::wstring(40, L'x') + L"\u00E9" + std::wstring(17, L'y') + L"\uFFFD"},
      {"0123456789\xE7\x95\x8C" "abcdefghijklmnopqrstuvwxyz\xFF",
       L"0123456789\u754Cabcdefghijklmnopqrstuvwxyz\uFFFD"},
  };
  for (const auto& [bytes, expected] : cases) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    EXPECT_EQ(Decode(bytes), expected);
  }
}

TEST(Utf8, EncodesAndReplacesUnpairedSurrogates) {
  EXPECT_EQ(WideToUtf8Bytes(L"a\u00E9\u754C\U0001F600"), "a\xC3\xA9\xE7\x95\x8C\xF0\x9F\x98\x80");
  EXPECT_EQ(WideToUtf8Bytes(std::wstring(1, static_cast<wchar_t>(0xD800)) + L"x"),
            "\xEF\xBF\xBDx");
  EXPECT_EQ(WideToUtf8Bytes(std::wstring(1, static_cast<wchar_t>(0xDC00))), "\xEF\xBF\xBD");
  EXPECT_EQ(WideToUtf8Bytes(L""), "");
  const std::string text = "\xE7\xA1\xAE\xE5\xAE\x9A \xF0\x9F\x98\x80";
  EXPECT_EQ(WideToUtf8Bytes(Decode(text)), text);
}

}  // namespace
}  // namespace ui
