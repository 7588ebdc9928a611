#include "base/DelayedTaskQueue.h"

#include <algorithm>

namespace base {
namespace {

// std heap functions keep the greatest element on top, so "greater" means "runs later".
bool RunsLater(const PendingTask& a, const PendingTask& b) {
  if (a.delayed_run_time != b.delayed_run_time) return a.delayed_run_time > b.delayed_run_time;
  return a.sequence_num > b.sequence_num;
}

}  // namespace

bool DelayedTaskQueue::Push(PendingTask task) {
  const int sequence_num = next_sequence_num_++;
  task.sequence_num = sequence_num;
  heap_.push_back(std::move(task));
  std::push_heap(heap_.begin(), heap_.end(), RunsLater);
  return heap_.front().sequence_num == sequence_num;
}

PendingTask DelayedTaskQueue::Pop() {
  std::pop_heap(heap_.begin(), heap_.end(), RunsLater);
  PendingTask task = std::move(heap_.back());
  heap_.pop_back();
  return task;
}

}  // namespace base
