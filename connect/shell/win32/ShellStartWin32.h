#pragma once
// Starts a program through the shell, detached from this process.

// path: NUL-terminated UTF-16 path; 0 when the shell started it, else GetLastError's code.
unsigned long shell_start(const wchar_t *path);
