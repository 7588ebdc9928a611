#include "base/StringToInt.h"

#include <climits>
#include <cwctype>

namespace base {
namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Accumulates digits towards the sign so that INT_MIN is reachable.
bool ParseDigits(const wchar_t* first, const wchar_t* last, bool negative, int* value) {
  if (first == last) return false;
  int result = 0;
  for (; first != last; ++first) {
    if (!IsDigit(*first)) {
      *value = result;
      return false;
    }
    const int digit = *first - L'0';
    if (!negative && result > (INT_MAX - digit) / 10) {
      *value = INT_MAX;
      return false;
    }
    if (negative && result < (INT_MIN + digit) / 10) {
      *value = INT_MIN;
      return false;
    }
    result = result * 10 + (negative ? -digit : digit);
  }
  *value = result;
  return true;
}

}  // namespace

bool StringToInt(const wchar_t* first, const wchar_t* last, int* value) {
  *value = 0;
  bool valid = true;
  while (first != last && iswspace(*first)) {
    valid = false;
    ++first;
  }
  bool negative = false;
  if (first != last && (*first == L'-' || *first == L'+')) {
    negative = *first == L'-';
    ++first;
  }
  return ParseDigits(first, last, negative, value) && valid;
}

}  // namespace base
