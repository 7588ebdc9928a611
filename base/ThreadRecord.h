#pragma once

namespace base {

class FrameworkThread;

// What the registry knows about the calling thread while it runs FrameworkThread's
// ThreadMain. Touched only by its own thread.
struct ThreadRecord {
  explicit ThreadRecord(FrameworkThread* owner) : thread(owner) {}

  FrameworkThread* thread;
  bool quit_properly = false;  // the loop ended through Stop, or the owner's clean-up says so
  int registration_count = 0;
  int managed_identifier = -1;  // -1: not registered
};

// The calling thread's record, or null outside ThreadMain.
ThreadRecord* CurrentThreadRecord();

// Makes a record the calling thread's record for the scope's lifetime.
class ScopedThreadRecord {
 public:
  explicit ScopedThreadRecord(ThreadRecord* record);
  ~ScopedThreadRecord();
  ScopedThreadRecord(const ScopedThreadRecord&) = delete;
  ScopedThreadRecord& operator=(const ScopedThreadRecord&) = delete;

 private:
  ThreadRecord* outer_;
};

}  // namespace base
