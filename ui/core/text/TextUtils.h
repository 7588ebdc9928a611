// Conversions between UTF-8 or code-page text and wide strings, splitting and path helpers.
#pragma once

#include <list>
#include <string>

namespace ui {

// UTF-8 goes through the one codec of text/Utf8.h.
// Zero-terminated UTF-8 to wide; false (output empty) for no text.
bool Utf8ToWide(const char* utf8, std::wstring& out);
// Narrow text of the given code page to wide; an empty result is a success.
bool MultiByteToWide(const std::string& text, std::wstring& out, unsigned code_page);
// Wide to UTF-8; an empty result is a success.
bool WideToMultiByte(const std::wstring& text, std::string& out);

// Pieces of `text` between runs of any of `delimiters`; empty pieces are dropped.
std::list<std::wstring> SplitString(const std::wstring& text, const std::wstring& delimiters);
// Replaces every occurrence of `find`, left to right without overlap; returns the count.
int ReplaceAll(const std::wstring& find, const std::wstring& replacement, std::wstring& text);
// "/" becomes "\", then each pair of backslashes becomes one (one pass).
std::wstring NormalizeFilePath(const std::wstring& path);
// The first `length` UTF-16 units of `text` (none for a negative length), one fewer where the
// cut would split a surrogate pair.
std::wstring CutAtLength(const std::wstring& text, int length);

}  // namespace ui
