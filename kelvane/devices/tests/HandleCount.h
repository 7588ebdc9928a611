// Number of handles this process holds: the handle values that name an open object.
#pragma once

#include <windows.h>

inline int OpenHandleCount() {
  constexpr UINT_PTR kHighestHandle = 4 * 4096;
  int count = 0;
  for (UINT_PTR value = 4; value <= kHighestHandle; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}
