#pragma once

#include <windows.h>

#include <atomic>

namespace base {

// An operating-system thread that runs ThreadMain. Priority 0 or below leaves the
// priority alone; 1 lowest, 2 below normal, 3 highest, 4 time critical, 5 and above
// below normal.
class Thread {
 public:
  Thread() = default;
  virtual ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  bool Create();
  // Waits for the thread to end (terminating it when the wait fails) and closes it.
  void Join();

  void set_priority(int priority) { priority_ = priority; }
  unsigned thread_id() const { return thread_id_; }
  HANDLE thread_handle() const { return thread_handle_; }

 protected:
  virtual void ThreadMain() {}

  std::atomic<unsigned> thread_id_{0};

 private:
  static unsigned __stdcall ThreadEntry(void* thread);

  HANDLE thread_handle_ = nullptr;
  int priority_ = 0;
};

}  // namespace base
