// Tessik's static services: text conversion and the program's folder.
#pragma once

#include <string>

class CTessikService {
 public:
  // GBK (code page 936) bytes to UTF-16; bytes that are not GBK are replaced.
  static std::wstring StringToWString(const std::string& text);
  // UTF-16 to GBK (code page 936); characters GBK lacks become '?'.
  static std::string WStringToString(const std::wstring& text);
  // The folder of the running executable, without a trailing separator. False when the
  // buffer is too small (it then holds an empty string) or the path cannot be read.
  static bool GetWorkDirectory(wchar_t* buffer, unsigned short size);
};
