#include <cwchar>
#include <map>

#include "resources/GlobalManager.h"

namespace ui {
namespace {

struct ColorTable {
  std::map<std::wstring, DWORD> colors;
  std::wstring default_color = L"textdefaultcolor";
  std::wstring default_disabled_color = L"textdefaultdisablecolor";
};

ColorTable& Colors() {
  static ColorTable table;
  return table;
}

}  // namespace

void GlobalManager::AddTextColor(const std::wstring& name, const std::wstring& value) {
  // The first character ("#") is skipped; hex digits follow: alpha, red, green, blue.
  const wchar_t* digits = value.empty() ? L"" : value.c_str() + 1;
  Colors().colors[name] = static_cast<DWORD>(std::wcstoul(digits, nullptr, 16));
}

DWORD GlobalManager::GetTextColor(const std::wstring& name) { return Colors().colors[name]; }

std::wstring GlobalManager::GetDefaultTextColor() { return Colors().default_color; }

std::wstring GlobalManager::GetDefaultDisabledTextColor() {
  return Colors().default_disabled_color;
}

void GlobalManager::SetDefaultTextColor(const std::wstring& name) { Colors().default_color = name; }

void GlobalManager::SetDefaultDisabledTextColor(const std::wstring& name) {
  Colors().default_disabled_color = name;
}

}  // namespace ui
