#include "tessik/TessikThread.h"

namespace {
constexpr DWORD kIdleStepPauseMs = 10;
}

CTessikThread::CTessikThread() : stop_event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CTessikThread::~CTessikThread() {
  // The subclass's operations are gone by now; the thread must already have ended.
  ReleaseEndedThread();
  CloseHandle(stop_event_);
}

int CTessikThread::IsRuning() { return running_.load(); }

int CTessikThread::StartThread() {
  std::lock_guard<std::mutex> lock(control_);
  if (running_.load()) return 0;
  ReleaseEndedThread();
  ResetEvent(stop_event_);
  running_ = 1;
  thread_ = CreateThread(nullptr, 0, &CTessikThread::ThreadMain, this, 0, &thread_id_);
  if (thread_ == nullptr) {
    running_ = 0;
    return 0;
  }
  return 1;
}

int CTessikThread::ConcludeThread(DWORD timeout, int) {
  HANDLE thread = nullptr;
  {
    std::lock_guard<std::mutex> lock(control_);
    if (thread_ == nullptr) return 1;
    SetEvent(stop_event_);
    if (GetCurrentThreadId() == thread_id_) return 1;
    // Waits on its own handle, without the lock: a step may call in here meanwhile.
    if (!DuplicateHandle(GetCurrentProcess(), thread_, GetCurrentProcess(), &thread, SYNCHRONIZE,
                         FALSE, 0)) {
      return 0;
    }
  }
  const DWORD waited = WaitForSingleObject(thread, timeout);
  CloseHandle(thread);
  if (waited != WAIT_OBJECT_0) return 0;
  std::lock_guard<std::mutex> lock(control_);
  if (!running_.load()) ReleaseEndedThread();
  return 1;
}

DWORD WINAPI CTessikThread::ThreadMain(void* self) {
  static_cast<CTessikThread*>(self)->Run();
  return 0;
}

void CTessikThread::Run() {
  if (ThreadStart()) {
    while (WaitForSingleObject(stop_event_, 0) != WAIT_OBJECT_0) {
      if (!ThreadStep()) WaitForSingleObject(stop_event_, kIdleStepPauseMs);
    }
  }
  ThreadEnd();
  running_ = 0;
}

void CTessikThread::ReleaseEndedThread() {
  if (thread_ == nullptr) return;
  CloseHandle(thread_);
  thread_ = nullptr;
  thread_id_ = 0;
}
