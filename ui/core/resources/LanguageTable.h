// String ids to display texts, read from the skin's "strings.ini".
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace ui {

class LanguageTable {
 public:
  static LanguageTable* GetInstance();

  // Empties the table, then reads the file; false when it cannot be opened.
  bool LoadStringTable(const std::wstring& path);
  // Adds the lines of a movable global block holding the file's bytes.
  bool LoadStringTable(HGLOBAL block);
  // The text with "\r" and "\n" escapes turned into line breaks, or "".
  std::wstring GetStringViaID(const std::wstring& id) const;

 private:
  void AddLine(const char* utf8_line);

  std::map<std::wstring, std::wstring> strings_;
};

}  // namespace ui
