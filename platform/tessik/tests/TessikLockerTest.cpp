#include "tessik/TessikLocker.h"

#include <gtest/gtest.h>

#include <future>

namespace {

// Whether another thread can take the section right now.
bool FreeForOtherThreads(CCriticalSection& section) {
  return std::async(std::launch::async, [&section] {
           const bool entered = TryEnterCriticalSection(section) != FALSE;
           if (entered) section.Unlock();
           return entered;
         }).get();
}

TEST(TessikLockerTest, HoldsTheSectionForItsScope) {
  CCriticalSection section;
  {
    CTessikLocker locker(section, true);
    EXPECT_FALSE(FreeForOtherThreads(section));
  }
  EXPECT_TRUE(FreeForOtherThreads(section));
}

TEST(TessikLockerTest, UnlockReleasesEarly) {
  CCriticalSection section;
  CTessikLocker locker(section, true);
  locker.UnLock();
  EXPECT_TRUE(FreeForOtherThreads(section));
}

TEST(TessikLockerTest, ReleasesItsOwnHoldOnlyOnce) {
  CCriticalSection section;
  section.Lock();  // an outer hold of this thread that the locker must leave alone
  {
    CTessikLocker locker(section, true);
    locker.UnLock();
    locker.UnLock();
  }
  EXPECT_FALSE(FreeForOtherThreads(section));
  section.Unlock();
  EXPECT_TRUE(FreeForOtherThreads(section));
}

TEST(TessikLockerTest, WithoutTheFlagNothingIsLocked) {
  CCriticalSection section;
  CTessikLocker locker(section, false);
  EXPECT_TRUE(FreeForOtherThreads(section));
}

}  // namespace
