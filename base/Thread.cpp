#include "base/Thread.h"

#include <process.h>

namespace base {
namespace {

int WindowsPriority(int priority) {
  switch (priority) {
    case 1: return THREAD_PRIORITY_LOWEST;
    case 2: return THREAD_PRIORITY_BELOW_NORMAL;
    case 3: return THREAD_PRIORITY_HIGHEST;
    case 4: return THREAD_PRIORITY_TIME_CRITICAL;
    default: return THREAD_PRIORITY_BELOW_NORMAL;
  }
}

}  // namespace

Thread::~Thread() { Join(); }

bool Thread::Create() {
  unsigned id = 0;
  const uintptr_t handle = _beginthreadex(nullptr, 0, &ThreadEntry, this, 0, &id);
  if (handle < 2) {
    thread_handle_ = nullptr;
    thread_id_ = 0;
    return false;
  }
  thread_handle_ = reinterpret_cast<HANDLE>(handle);
  thread_id_ = id;
  if (priority_ > 0) SetThreadPriority(thread_handle_, WindowsPriority(priority_));
  return true;
}

void Thread::Join() {
  if (!thread_handle_) return;
  if (WaitForSingleObject(thread_handle_, INFINITE) != WAIT_OBJECT_0) TerminateThread(thread_handle_, 0);
  CloseHandle(thread_handle_);
  thread_handle_ = nullptr;
  thread_id_ = 0;
}

unsigned __stdcall Thread::ThreadEntry(void* thread) {
  static_cast<Thread*>(thread)->ThreadMain();
  _endthreadex(0);
  return 0;
}

}  // namespace base
