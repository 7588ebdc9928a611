// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <optional>
#include <string>

// The file's bytes as they are, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::wstring& path);

// The temporary file that WriteFileAtomically writes beside the target.
std::wstring TemporaryPathFor(const std::wstring& path);

// Writes the bytes to a temporary file in the target's folder, flushes it and moves it
// over the target in one step. On any failure the target is left untouched, the
// temporary file is removed and false is returned.
bool WriteFileAtomically(const std::wstring& path, const std::string& bytes);
