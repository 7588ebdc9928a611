#include "tessik/TessikLocker.h"

CTessikLocker::CTessikLocker(CCriticalSection& section, bool lock) : section_(section) {
  if (lock) Lock();
}

CTessikLocker::~CTessikLocker() { UnLock(); }

void CTessikLocker::Lock() {
  if (held_) return;
  section_.Lock();
  held_ = true;
}

void CTessikLocker::UnLock() {
  if (!held_) return;
  section_.Unlock();
  held_ = false;
}
