// Typing text into the focused window, and the UTF-8 conversion of recognised text.
#include <memory>
#include <new>

#include "IMEService.h"

namespace {

INPUT UnicodeKey(wchar_t unit, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = 0;
  input.ki.wScan = unit;
  input.ki.dwFlags = KEYEVENTF_UNICODE | flags;
  return input;
}

}  // namespace

bool CIMEService::SendText(const wchar_t* text) {
  if (text == nullptr) return false;
  const size_t units = wcslen(text);
  if (units == 0) return true;
  const size_t count = 2 * units;
  std::unique_ptr<INPUT[]> inputs(new (std::nothrow) INPUT[count]);
  if (!inputs) return false;
  for (size_t i = 0; i < units; ++i) {
    inputs[2 * i] = UnicodeKey(text[i], 0);
    inputs[2 * i + 1] = UnicodeKey(text[i], KEYEVENTF_KEYUP);
  }
  return SendInput(static_cast<UINT>(count), inputs.get(), sizeof(INPUT)) == count;
}

std::wstring CIMEService::Utf8ToWide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(size > 0 ? size : 0, L'\0');
  if (size > 0) {
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  }
  return wide;
}
