// Replaces an entry of this program's import table, so calls into a DLL can be timed.
#pragma once

#include <windows.h>

// By ordinal (ordinal != 0) or by name; the previous target goes to *original. False when
// the program does not import it.
bool PatchImport(const char* dll, WORD ordinal, const char* name, void* replacement,
                 void** original);
