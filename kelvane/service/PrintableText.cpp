#include "PrintableText.h"

#include <algorithm>
#include <iterator>

namespace {

bool IsControl(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

}  // namespace

std::wstring PrintableText(const std::wstring& text) {
  std::wstring printable;
  printable.reserve(text.size());
  std::copy_if(text.begin(), text.end(), std::back_inserter(printable),
               [](wchar_t c) { return !IsControl(c); });
  return printable;
}
