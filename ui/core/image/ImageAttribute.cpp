#include "image/ImageAttribute.h"

#include <cwchar>

#include "system/DpiManager.h"

namespace ui {
namespace {

bool IsBlank(wchar_t c) { return c != 0 && c <= 32; }

}  // namespace

RECT ParseRect(const std::wstring& value) {
  LONG numbers[4] = {};
  const wchar_t* p = value.c_str();
  for (int i = 0; i < 4 && *p; ++i) {
    wchar_t* end = nullptr;
    numbers[i] = std::wcstol(p, &end, 10);
    p = *end ? end + 1 : end;
  }
  return RECT{numbers[0], numbers[1], numbers[2], numbers[3]};
}

void ImageAttribute::Init() {
  image_string.clear();
  file_name.clear();
  dest = {-1, -1, -1, -1};
  source = {-1, -1, -1, -1};
  corner = {0, 0, 0, 0};
  fade = 255;
  xtiled = false;
  ytiled = false;
  play_count = -1;
}

void ImageAttribute::Apply(const std::wstring& key, const std::wstring& value, bool& scale_dest) {
  if (key == L"file" || key == L"res") {
    file_name = value;
  } else if (key == L"destscale") {
    scale_dest = value == L"true";
  } else if (key == L"dest") {
    dest = ParseRect(value);
    if (scale_dest) DpiManager::GetInstance()->ScaleRect(dest);
  } else if (key == L"source") {
    source = ParseRect(value);
  } else if (key == L"corner") {
    corner = ParseRect(value);
  } else if (key == L"fade") {
    fade = static_cast<BYTE>(std::wcstoul(value.c_str(), nullptr, 10));
  } else if (key == L"xtiled") {
    xtiled = value == L"true";
  } else if (key == L"ytiled") {
    ytiled = value == L"true";
  } else if (key == L"playcount") {
    play_count = static_cast<int>(std::wcstol(value.c_str(), nullptr, 10));
  }
}

void ImageAttribute::ModifyAttribute(const std::wstring& text) {
  bool scale_dest = true;
  const wchar_t* p = text.c_str();
  for (;;) {
    while (IsBlank(*p)) ++p;
    if (!*p) return;
    const wchar_t* key_start = p;
    while (*p && *p != L'=' && !IsBlank(*p)) ++p;
    const std::wstring key(key_start, p);
    while (IsBlank(*p)) ++p;
    if (*p++ != L'=') return;
    while (IsBlank(*p)) ++p;
    if (*p++ != L'\'') return;
    const wchar_t* value_start = p;
    while (*p && *p != L'\'') ++p;
    if (!*p) return;
    const std::wstring value(value_start, p++);
    if (!value.empty()) Apply(key, value, scale_dest);
    if (*p != L' ' || !p[1]) return;
    ++p;
  }
}

}  // namespace ui
