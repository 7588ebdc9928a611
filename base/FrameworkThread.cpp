#include "base/FrameworkThread.h"

#include "base/IOMessageLoop.h"
#include "base/MessageLoopFactory.h"
#include "base/MessageLoopProxy.h"
#include "base/ThreadManager.h"
#include "base/ThreadRecord.h"
#include "base/UIMessageLoop.h"

namespace base {

FrameworkThread::FrameworkThread(const char* name)
    : start_event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), name_(name ? name : "") {
  // Made now, so that Stop can bind to it from any thread without racing its creation.
  GetWeakFlag();
}

FrameworkThread::~FrameworkThread() {
  StopAndJoin();
  CloseHandle(start_event_);
}

bool FrameworkThread::StartWithLoop(MessageLoop::Type type, Dispatcher* dispatcher) {
  if (type == MessageLoop::kCustomMessageLoop) return false;
  return Start(type, dispatcher);
}

bool FrameworkThread::StartWithLoopFactory(std::shared_ptr<MessageLoopFactory> factory) {
  if (!factory || message_loop_) return false;
  loop_factory_ = std::move(factory);
  return Start(MessageLoop::kCustomMessageLoop, nullptr);
}

bool FrameworkThread::Start(MessageLoop::Type type, Dispatcher* dispatcher) {
  if (message_loop_) return false;
  // A run that ended on its own (a quit from inside, or a Stop without a join) still holds
  // its thread handle and its stop request.
  Join();
  {
    AutoLock hold(stop_lock_);
    stopping_ = false;
  }
  loop_type_ = type;
  dispatcher_ = dispatcher;
  if (!Create()) return false;
  // The thread signals once its loop exists and Init has run.
  WaitForSingleObject(start_event_, INFINITE);
  running_ = true;
  return true;
}

void FrameworkThread::RunOnCurrentThreadWithLoop(MessageLoop::Type type, Dispatcher* dispatcher) {
  loop_type_ = type;
  running_ = true;
  dispatcher_ = dispatcher;
  ThreadMain();
}

void FrameworkThread::Stop() {
  std::shared_ptr<MessageLoopProxy> proxy;
  {
    AutoLock hold(stop_lock_);
    if (stopping_ || !loop_proxy_) return;
    stopping_ = true;
    proxy = loop_proxy_;
  }
  // Bound weakly: a thread object that is already gone quits nothing.
  proxy->PostNonNestableTask(MakeWeakCallback(&FrameworkThread::QuitTask));
}

void FrameworkThread::StopAndJoin() {
  if (!running_) return;
  Stop();
  Join();
  running_ = false;
  AutoLock hold(stop_lock_);
  stopping_ = false;
}

void FrameworkThread::ThreadMain() {
  ThreadRecord record(this);
  ScopedThreadRecord scoped_record(&record);
  thread_id_ = GetCurrentThreadId();

  message_loop_ = CreateMessageLoop();
  SetLoopProxy(message_loop_->message_loop_proxy());
  Init();
  SetEvent(start_event_);

  message_loop_->Run(dispatcher_);

  Cleanup();
  // A registration left behind would outlive this thread.
  ThreadManager::UnregisterAll();
  SetLoopProxy(nullptr);
  message_loop_.reset();
  loop_factory_.reset();
  thread_id_ = 0;
}

std::unique_ptr<MessageLoop> FrameworkThread::CreateMessageLoop() const {
  switch (loop_type_) {
    case MessageLoop::kUIMessageLoop: return std::make_unique<UIMessageLoop>();
    case MessageLoop::kIOMessageLoop: return std::make_unique<IOMessageLoop>();
    case MessageLoop::kCustomMessageLoop: return loop_factory_->CreateMessageLoop();
    default: return std::make_unique<MessageLoop>();
  }
}

void FrameworkThread::SetLoopProxy(std::shared_ptr<MessageLoopProxy> proxy) {
  AutoLock hold(stop_lock_);
  loop_proxy_ = std::move(proxy);
}

void FrameworkThread::QuitTask() {
  if (MessageLoop* loop = MessageLoop::current()) loop->Quit();
  if (ThreadRecord* record = CurrentThreadRecord()) record->quit_properly = true;
}

}  // namespace base
