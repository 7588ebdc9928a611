#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "base/Closure.h"
#include "base/DelayedTaskQueue.h"
#include "base/Lock.h"
#include "base/MessagePump.h"
#include "base/ObserverList.h"
#include "base/PendingTask.h"

namespace base {

class Dispatcher;
class MessageLoopProxy;

// The task loop of one thread. Any thread may post; the thread that built the loop runs
// the tasks in order, delayed ones when they fall due (delays in microseconds).
// Non-nestable tasks run only at the outermost run level.
class MessageLoop : public MessagePump::Delegate {
 public:
  enum Type { kDefaultMessageLoop = 0, kUIMessageLoop = 1, kIOMessageLoop = 2, kCustomMessageLoop = 3 };

  class TaskObserver {
   public:
    virtual ~TaskObserver() = default;
    virtual void WillProcessTask(const PendingTask& task) = 0;
    virtual void DidProcessTask(const PendingTask& task) = 0;
  };

  class DestructionObserver {
   public:
    virtual ~DestructionObserver() = default;
    virtual void WillDestroyCurrentMessageLoop() = 0;
  };

  MessageLoop();
  ~MessageLoop() override;
  MessageLoop(const MessageLoop&) = delete;
  MessageLoop& operator=(const MessageLoop&) = delete;

  // The loop built on the calling thread, or null.
  static MessageLoop* current();

  Type type() const { return type_; }

  // Runs until Quit has been asked and no immediate work is left; may nest.
  void Run(Dispatcher* dispatcher = nullptr);
  // Ends the innermost run once it runs out of immediate work. Loop thread only.
  void Quit();

  void PostTask(Closure task);
  void PostDelayedTask(Closure task, int64_t delay_us);
  void PostNonNestableTask(Closure task);
  void PostNonNestableDelayedTask(Closure task, int64_t delay_us);

  // Safe to keep and post through from any thread, also after the loop is gone.
  std::shared_ptr<MessageLoopProxy> message_loop_proxy() const { return proxy_; }

  void AddTaskObserver(TaskObserver* observer);
  void RemoveTaskObserver(TaskObserver* observer);
  void AddDestructionObserver(DestructionObserver* observer);
  void RemoveDestructionObserver(DestructionObserver* observer);

 protected:
  MessageLoop(Type type, std::shared_ptr<MessagePump> pump);

  MessagePump* pump() const { return pump_.get(); }

 private:
  struct RunState {
    int run_depth;
    bool quit_received;
    Dispatcher* dispatcher;
  };

  bool DoWork() override;
  bool DoDelayedWork(int64_t* next_delayed_work_time) override;
  bool DoIdleWork() override;

  // The one way in for every post; builds the task in the queue.
  void AddToIncomingQueue(Closure&& task, int64_t delayed_run_time, bool nestable);
  void ReloadWorkQueue();
  bool WorkQueueEmpty() const { return work_front_ == work_queue_.size(); }
  PendingTask TakeWorkTask() { return std::move(work_queue_[work_front_++]); }
  void RunTask(const PendingTask& task);
  bool RunDeferredTask();
  // Runs the task now, or keeps it for the outermost run when it is non-nestable.
  bool RunOrDefer(PendingTask& task);
  bool DeletePendingTasks();
  void DeleteAllPendingTasks();
  int64_t RunTimeAfter(int64_t delay_us) const;

  Type type_;
  RunState* state_ = nullptr;
  std::shared_ptr<MessagePump> pump_;
  bool nestable_tasks_allowed_ = true;

  // The two queues are vectors swapped whole: once they have grown, a task costs no
  // allocation on its way through. What posters write has cache lines of its own: the loop
  // thread's writes for every task nearby would cost every post a cache miss.
  alignas(64) Lock incoming_lock_;
  std::vector<PendingTask> incoming_queue_;  // guarded by incoming_lock_

  alignas(64) std::vector<PendingTask> work_queue_;
  size_t work_front_ = 0;  // the tasks before it have been taken
  std::deque<PendingTask> deferred_non_nestable_work_queue_;
  DelayedTaskQueue delayed_work_queue_;
  int64_t recent_time_ = 0;

  ObserverList<TaskObserver> task_observers_;
  ObserverList<DestructionObserver> destruction_observers_;

  std::shared_ptr<MessageLoopProxy> proxy_;
};

}  // namespace base
