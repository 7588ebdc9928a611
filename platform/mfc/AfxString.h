// CString: a wide string with MFC's interface, over std::wstring.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

class CStringW {
 public:
  CStringW() = default;
  CStringW(const wchar_t* text) : text_(text ? text : L"") {}
  CStringW(const wchar_t* text, int length) : text_(text ? text : L"", text ? length : 0) {}

  CStringW& operator=(const wchar_t* text);
  CStringW& operator+=(const CStringW& text);
  CStringW& operator+=(const wchar_t* text);
  CStringW& operator+=(wchar_t ch);

  operator const wchar_t*() const { return text_.c_str(); }
  const wchar_t* GetString() const { return text_.c_str(); }
  int GetLength() const { return static_cast<int>(text_.size()); }
  BOOL IsEmpty() const { return text_.empty(); }
  void Empty() { text_.clear(); }

  // printf-style, with %s as a wide string; a format error leaves the string empty.
  void Format(const wchar_t* format, ...);
  void FormatV(const wchar_t* format, va_list args);
  void AppendFormat(const wchar_t* format, ...);

  // A writable buffer of at least minLength characters; ReleaseBuffer ends the writing,
  // at the first NUL when newLength is -1.
  wchar_t* GetBuffer(int minLength = 0);
  void ReleaseBuffer(int newLength = -1);

  friend CStringW operator+(CStringW left, const CStringW& right) { return left += right; }
  friend CStringW operator+(CStringW left, const wchar_t* right) { return left += right; }
  friend CStringW operator+(const wchar_t* left, const CStringW& right) {
    return CStringW(left) += right;
  }
  friend bool operator==(const CStringW& left, const CStringW& right) {
    return left.text_ == right.text_;
  }
  friend bool operator==(const CStringW& left, const wchar_t* right) {
    return left.text_ == (right ? right : L"");
  }
  friend bool operator!=(const CStringW& left, const CStringW& right) { return !(left == right); }

 private:
  std::wstring text_;
};

using CString = CStringW;
