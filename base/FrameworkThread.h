#pragma once

#include <memory>
#include <string>

#include "base/Lock.h"
#include "base/MessageLoop.h"
#include "base/Thread.h"
#include "base/WeakCallback.h"

namespace base {

class Dispatcher;
class MessageLoopFactory;
class MessageLoopProxy;

// A thread that builds a message loop of the chosen kind on itself, runs Init, the loop
// and Cleanup, and tears the loop down. The object must outlive its thread.
class FrameworkThread : public Thread, public virtual SupportWeakCallback {
 public:
  explicit FrameworkThread(const char* name);
  ~FrameworkThread() override;

  // Starts the thread and returns once its loop exists and Init has run.
  bool StartWithLoop(MessageLoop::Type type, Dispatcher* dispatcher = nullptr);
  bool StartWithLoopFactory(std::shared_ptr<MessageLoopFactory> factory);
  // Runs Init, the loop and Cleanup on the calling thread; returns when the loop has ended.
  void RunOnCurrentThreadWithLoop(MessageLoop::Type type, Dispatcher* dispatcher = nullptr);

  // Asks the loop to quit once it runs out of work at its outermost run. Any thread; once.
  void Stop();
  // Stop, then wait for the thread to end; the object can then be started again.
  void StopAndJoin();

  bool IsRunning() const { return running_; }
  // Owner's thread or the thread itself.
  MessageLoop* message_loop() const { return message_loop_.get(); }
  const std::string& thread_name() const { return name_; }

 protected:
  void ThreadMain() override;
  // Run on the thread, before and after the loop.
  virtual void Init() {}
  virtual void Cleanup() {}

 private:
  bool Start(MessageLoop::Type type, Dispatcher* dispatcher);
  std::unique_ptr<MessageLoop> CreateMessageLoop() const;
  void SetLoopProxy(std::shared_ptr<MessageLoopProxy> proxy);
  static void QuitTask();

  bool running_ = false;
  MessageLoop::Type loop_type_ = MessageLoop::kDefaultMessageLoop;
  std::unique_ptr<MessageLoop> message_loop_;
  std::shared_ptr<MessageLoopFactory> loop_factory_;
  Dispatcher* dispatcher_ = nullptr;
  HANDLE start_event_;
  std::string name_;

  Lock stop_lock_;
  bool stopping_ = false;                          // guarded by stop_lock_
  std::shared_ptr<MessageLoopProxy> loop_proxy_;  // guarded by stop_lock_
};

}  // namespace base
