#include "base/MessageLoop.h"

#include <utility>

#include "base/DefaultMessagePump.h"
#include "base/MessageLoopProxy.h"
#include "base/TickClock.h"
#include "base/WinUIMessagePump.h"

namespace base {
namespace {

thread_local MessageLoop* current_loop = nullptr;

// Destroying a closure may post new tasks; the passes collect them.
constexpr int kMaxDeletePasses = 100;

}  // namespace

MessageLoop::MessageLoop() : MessageLoop(kDefaultMessageLoop, std::make_shared<DefaultMessagePump>()) {}

MessageLoop::MessageLoop(Type type, std::shared_ptr<MessagePump> pump)
    : type_(type), pump_(std::move(pump)), proxy_(MessageLoopProxy::Create(this)) {
  current_loop = this;
}

MessageLoop::~MessageLoop() {
  DeleteAllPendingTasks();
  destruction_observers_.ForEach([](DestructionObserver* observer) { observer->WillDestroyCurrentMessageLoop(); });
  proxy_->WillDestroyCurrentMessageLoop();
  proxy_.reset();
  current_loop = nullptr;

  // Tasks that arrived after the last pass are dropped unrun while the loop is still whole.
  std::vector<PendingTask> late_tasks;
  {
    AutoLock hold(incoming_lock_);
    late_tasks.swap(incoming_queue_);
  }
}

MessageLoop* MessageLoop::current() { return current_loop; }

void MessageLoop::Run(Dispatcher* dispatcher) {
  RunState state{state_ ? state_->run_depth + 1 : 1, false, dispatcher};
  RunState* outer = state_;
  state_ = &state;
  if (type_ == kUIMessageLoop && dispatcher)
    static_cast<WinUIMessagePump*>(pump_.get())->RunWithDispatcher(this, dispatcher);
  else
    pump_->Run(this);
  state_ = outer;
}

void MessageLoop::Quit() {
  if (state_) state_->quit_received = true;
}

void MessageLoop::PostTask(Closure task) { AddToIncomingQueue(std::move(task), 0, true); }

void MessageLoop::PostDelayedTask(Closure task, int64_t delay_us) {
  AddToIncomingQueue(std::move(task), RunTimeAfter(delay_us), true);
}

void MessageLoop::PostNonNestableTask(Closure task) { AddToIncomingQueue(std::move(task), 0, false); }

void MessageLoop::PostNonNestableDelayedTask(Closure task, int64_t delay_us) {
  AddToIncomingQueue(std::move(task), RunTimeAfter(delay_us), false);
}

void MessageLoop::AddTaskObserver(TaskObserver* observer) { task_observers_.AddObserver(observer); }
void MessageLoop::RemoveTaskObserver(TaskObserver* observer) { task_observers_.RemoveObserver(observer); }
void MessageLoop::AddDestructionObserver(DestructionObserver* observer) { destruction_observers_.AddObserver(observer); }
void MessageLoop::RemoveDestructionObserver(DestructionObserver* observer) {
  destruction_observers_.RemoveObserver(observer);
}

int64_t MessageLoop::RunTimeAfter(int64_t delay_us) const { return LoopClock().NowMicroseconds() + delay_us; }

void MessageLoop::AddToIncomingQueue(Closure&& task, int64_t delayed_run_time, bool nestable) {
  std::shared_ptr<MessagePump> pump;
  {
    AutoLock hold(incoming_lock_);
    const bool was_empty = incoming_queue_.empty();
    incoming_queue_.emplace_back(std::move(task), delayed_run_time, nestable);
    // A non-empty queue already has a wake-up on its way.
    if (!was_empty) return;
    pump = pump_;
  }
  pump->ScheduleWork();
}

void MessageLoop::ReloadWorkQueue() {
  if (!WorkQueueEmpty()) return;
  // The emptied vector keeps its room and becomes the next incoming queue.
  work_queue_.clear();
  work_front_ = 0;
  AutoLock hold(incoming_lock_);
  work_queue_.swap(incoming_queue_);
}

void MessageLoop::RunTask(const PendingTask& task) {
  nestable_tasks_allowed_ = false;
  task_observers_.ForEach([&](TaskObserver* observer) { observer->WillProcessTask(task); });
  task.task();
  task_observers_.ForEach([&](TaskObserver* observer) { observer->DidProcessTask(task); });
  nestable_tasks_allowed_ = true;
}

bool MessageLoop::RunOrDefer(PendingTask& task) {
  if (task.nestable || state_->run_depth == 1) {
    RunTask(task);
    // What the closure holds goes now, not when its queue is next cleared.
    task.task = nullptr;
    return true;
  }
  deferred_non_nestable_work_queue_.push_back(std::move(task));
  return false;
}

bool MessageLoop::RunDeferredTask() {
  if (state_->run_depth != 1 || deferred_non_nestable_work_queue_.empty()) return false;
  const PendingTask task = std::move(deferred_non_nestable_work_queue_.front());
  deferred_non_nestable_work_queue_.pop_front();
  RunTask(task);
  return true;
}

// Runs at most one immediate task; delayed tasks met on the way all go to the heap.
bool MessageLoop::DoWork() {
  if (!nestable_tasks_allowed_) return false;
  for (ReloadWorkQueue(); !WorkQueueEmpty(); ReloadWorkQueue()) {
    // Run where it lies: nothing else touches the work queue while a task runs, since DoWork
    // does not nest inside a task.
    PendingTask& task = work_queue_[work_front_++];
    if (task.delayed_run_time != 0) {
      const int64_t run_time = task.delayed_run_time;
      // The pump must wake for a task that has become the earliest one.
      if (delayed_work_queue_.Push(std::move(task))) pump_->ScheduleDelayedWork(run_time);
    } else if (RunOrDefer(task)) {
      return true;
    }
  }
  return false;
}

// Runs at most one due delayed task; the clock is read only when the last reading is earlier
// than the earliest run time.
bool MessageLoop::DoDelayedWork(int64_t* next_delayed_work_time) {
  if (!nestable_tasks_allowed_ || delayed_work_queue_.Empty()) {
    recent_time_ = *next_delayed_work_time = 0;
    return false;
  }
  const int64_t next_run_time = delayed_work_queue_.Top().delayed_run_time;
  if (recent_time_ < next_run_time) {
    recent_time_ = LoopClock().NowMicroseconds();
    if (recent_time_ < next_run_time) {
      *next_delayed_work_time = next_run_time;
      return false;
    }
  }
  PendingTask task = delayed_work_queue_.Pop();
  if (!delayed_work_queue_.Empty()) *next_delayed_work_time = delayed_work_queue_.Top().delayed_run_time;
  return RunOrDefer(task);
}

bool MessageLoop::DoIdleWork() {
  if (RunDeferredTask()) return true;
  if (state_->quit_received) pump_->Quit();
  return false;
}

bool MessageLoop::DeletePendingTasks() {
  while (!WorkQueueEmpty()) {
    PendingTask task = TakeWorkTask();
    // Delayed tasks go through the heap so that they are destroyed in run order.
    if (task.delayed_run_time != 0) delayed_work_queue_.Push(std::move(task));
  }
  std::deque<PendingTask>().swap(deferred_non_nestable_work_queue_);
  const bool had_delayed_tasks = !delayed_work_queue_.Empty();
  while (!delayed_work_queue_.Empty()) delayed_work_queue_.Pop();
  return had_delayed_tasks;
}

void MessageLoop::DeleteAllPendingTasks() {
  for (int pass = 0; pass < kMaxDeletePasses; ++pass) {
    DeletePendingTasks();
    ReloadWorkQueue();
    if (!DeletePendingTasks()) break;
  }
}

}  // namespace base
