// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <cstdint>
#include <string>

enum class ReadResult { kRead, kAbsent, kCannotRead, kTooLarge };

// Reads the file's bytes as they are. kAbsent when the file or its folder does not exist;
// a file larger than max_bytes is refused before anything is read (kTooLarge); bytes is
// filled only for kRead.
ReadResult ReadWholeFile(const std::wstring& path, uint64_t max_bytes, std::string* bytes);

// Whether the two files can be read and hold the same bytes; compared piece by piece, so
// files of any size can be compared.
bool SameFileBytes(const std::wstring& first, const std::wstring& second);

// The temporary file that the writers below write beside the target: always the same
// name for one target, so a save that was killed half-way leaves one file that the next
// save replaces.
std::wstring TemporaryPathFor(const std::wstring& path);

// Writes the bytes to a temporary file in the target's folder, flushes it and moves it
// over the target in one step. On any failure the target is left untouched, the
// temporary file is removed and false is returned.
bool WriteFileAtomically(const std::wstring& path, const std::string& bytes);

// The same for a file that must not exist yet: false, and nothing is replaced, when a
// file or folder of that name is there by the time the new one would be moved in.
bool CreateFileAtomically(const std::wstring& path, const std::string& bytes);

// Creates a new file at path as CreateFileAtomically does, holding the bytes of the file
// at source, read piece by piece.
bool CopyToNewFileAtomically(const std::wstring& source, const std::wstring& path);
