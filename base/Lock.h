#pragma once

#include <windows.h>

#include <mutex>

namespace base {

// A critical section with a short spin before it blocks; usable with std::lock_guard.
class Lock {
 public:
  Lock() { InitializeCriticalSectionAndSpinCount(&section_, 2000); }
  ~Lock() { DeleteCriticalSection(&section_); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

  void lock() { EnterCriticalSection(&section_); }
  void unlock() { LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

using AutoLock = std::lock_guard<Lock>;

}  // namespace base
