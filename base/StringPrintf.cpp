#include "base/StringPrintf.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

namespace base {
namespace {

constexpr size_t kStackBufferSize = 1024;
constexpr size_t kMaxBufferSize = 32 * 1024 * 1024;

// Formats into the buffer; false when the text does not fit. The legacy primitive
// reports -1 for a longer text and the buffer size for a text that fills it exactly,
// leaving no room for the terminator; both mean "too small".
bool FormatInto(wchar_t* buffer, size_t size, const wchar_t* format, va_list args, std::wstring* out) {
  va_list args_copy;
  va_copy(args_copy, args);
  const int count = _vsnwprintf(buffer, size, format, args_copy);
  va_end(args_copy);
  if (count < 0 || static_cast<size_t>(count) >= size) return false;
  out->append(buffer, static_cast<size_t>(count));
  return true;
}

std::wstring StringPrintfV(const wchar_t* format, va_list args) {
  std::wstring result;
  wchar_t stack_buffer[kStackBufferSize];
  if (FormatInto(stack_buffer, kStackBufferSize, format, args, &result)) return result;
  for (size_t size = kStackBufferSize * 2; size <= kMaxBufferSize; size *= 2) {
    std::vector<wchar_t> heap_buffer(size);
    if (FormatInto(heap_buffer.data(), size, format, args, &result)) return result;
  }
  return result;
}

}  // namespace

std::wstring StringPrintf(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring result = StringPrintfV(format, args);
  va_end(args);
  return result;
}

}  // namespace base
