// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <cstdint>
#include <string>

enum class ReadResult { kRead, kCannotRead, kTooLarge };

// Reads the file's bytes as they are. A file larger than max_bytes is refused before
// anything is read (kTooLarge); bytes is filled only for kRead.
ReadResult ReadWholeFile(const std::wstring& path, uint64_t max_bytes, std::string* bytes);

// The temporary file that WriteFileAtomically writes beside the target: always the same
// name for one target, so a save that was killed half-way leaves one file that the next
// save replaces.
std::wstring TemporaryPathFor(const std::wstring& path);

// Writes the bytes to a temporary file in the target's folder, flushes it and moves it
// over the target in one step. On any failure the target is left untouched, the
// temporary file is removed and false is returned.
bool WriteFileAtomically(const std::wstring& path, const std::string& bytes);
