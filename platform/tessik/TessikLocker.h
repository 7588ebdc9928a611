// Scope lock over an MFC critical section.
#pragma once

#include "mfc/AfxSync.h"

class CTessikLocker {
 public:
  // Locks at once when lock is true.
  CTessikLocker(CCriticalSection& section, bool lock);
  ~CTessikLocker();
  CTessikLocker(const CTessikLocker&) = delete;
  CTessikLocker& operator=(const CTessikLocker&) = delete;

  // Releases before the end of the scope; does nothing when not held.
  void UnLock();

 private:
  void Lock();

  CCriticalSection& section_;
  bool held_ = false;
};
