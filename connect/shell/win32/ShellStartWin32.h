#pragma once
// Starts a program through the shell, detached from this process.

// path: NUL-terminated UTF-16 path; true when the shell started it.
bool shell_start(const wchar_t *path);
