// A worker thread driven by three operations of the subclass: start, step and end.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>

class CTessikThread {
 public:
  // 1 from StartThread until the end operation has run.
  virtual int IsRuning();
  // Starts the thread: it runs ThreadStart once, then ThreadStep until ConcludeThread, then
  // ThreadEnd. When ThreadStart returns 0 no step runs: the thread goes straight to
  // ThreadEnd. 1 = a new thread started; 0 when one is already running or creation failed.
  virtual int StartThread();
  // Asks the thread to end and waits up to timeout ms for ThreadEnd to have run.
  // 1 = the thread has ended (or none ran), 0 = time-out. Called from the thread itself
  // (e.g. inside ThreadStep) it only asks and returns 1; the thread ends after that step.
  virtual int ConcludeThread(DWORD timeout, int reserved);

 protected:
  CTessikThread();
  // Subclasses conclude their thread before their parts are destroyed.
  virtual ~CTessikThread();

  // One unit of work; a step returning 0 did nothing, and the loop pauses up to 10 ms
  // (or until asked to end) before the next one.
  virtual int ThreadStep() = 0;
  virtual int ThreadStart() = 0;
  virtual int ThreadEnd() = 0;

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Run();
  void ReleaseEndedThread();

  std::mutex control_;  // guards thread_ and thread_id_
  HANDLE thread_ = nullptr;
  DWORD thread_id_ = 0;
  HANDLE stop_event_;
  std::atomic<int> running_{0};
};
