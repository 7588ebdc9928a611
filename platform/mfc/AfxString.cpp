#include "mfc/AfxString.h"

#include <cstdio>
#include <cwchar>

namespace {

// Formats with the Microsoft meaning of %s (wide); empty on a format error.
std::wstring FormatText(const wchar_t* format, va_list args) {
  if (format == nullptr) return std::wstring();
  va_list counting;
  va_copy(counting, args);
  const int length = _vscwprintf(format, counting);
  va_end(counting);
  if (length <= 0) return std::wstring();
  std::wstring text(length + 1, L'\0');
  _vsnwprintf(text.data(), text.size(), format, args);
  text.resize(length);
  return text;
}

}  // namespace

CStringW& CStringW::operator=(const wchar_t* text) {
  text_ = text ? text : L"";
  return *this;
}

CStringW& CStringW::operator+=(const CStringW& text) {
  text_ += text.text_;
  return *this;
}

CStringW& CStringW::operator+=(const wchar_t* text) {
  if (text) text_ += text;
  return *this;
}

CStringW& CStringW::operator+=(wchar_t ch) {
  text_ += ch;
  return *this;
}

void CStringW::Format(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CStringW::FormatV(const wchar_t* format, va_list args) { text_ = FormatText(format, args); }

void CStringW::AppendFormat(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  text_ += FormatText(format, args);
  va_end(args);
}

wchar_t* CStringW::GetBuffer(int minLength) {
  if (minLength > GetLength()) text_.resize(minLength);
  return text_.data();
}

void CStringW::ReleaseBuffer(int newLength) {
  if (newLength < 0) newLength = static_cast<int>(wcsnlen(text_.c_str(), text_.size()));
  text_.resize(newLength);
}
