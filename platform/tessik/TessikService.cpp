#include "tessik/TessikService.h"

#include <windows.h>

#include <cwchar>

namespace {
constexpr UINT kGbkCodePage = 936;
}

std::wstring CTessikService::StringToWString(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(kGbkCodePage, 0, text.data(), size, nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(kGbkCodePage, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string CTessikService::WStringToString(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(kGbkCodePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(length, '\0');
  WideCharToMultiByte(kGbkCodePage, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

bool CTessikService::GetWorkDirectory(wchar_t* buffer, unsigned short size) {
  if (buffer == nullptr || size == 0) return false;
  buffer[0] = L'\0';
  wchar_t path[32768];
  const DWORD length = GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
  if (length == 0 || length >= ARRAYSIZE(path)) return false;
  wchar_t* separator = wcsrchr(path, L'\\');
  if (separator == nullptr) return false;
  *separator = L'\0';
  if (static_cast<size_t>(separator - path) >= size) return false;
  wcscpy(buffer, path);
  return true;
}
