// The running Windows version, for features that older systems lack.
#pragma once

#include <windows.h>

namespace ui {

// True when the system is at least `major`.`minor` (6.0 is Vista, 6.2 is Windows 8).
bool IsWindowsVersionAtLeast(WORD major, WORD minor);

}  // namespace ui
