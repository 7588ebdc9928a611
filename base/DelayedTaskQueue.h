#pragma once

#include <vector>

#include "base/PendingTask.h"

namespace base {

// Delayed tasks by run time, then by the order they arrived.
class DelayedTaskQueue {
 public:
  // Gives the task the next sequence number; true when it has become the earliest task.
  bool Push(PendingTask task);
  PendingTask Pop();
  const PendingTask& Top() const { return heap_.front(); }
  bool Empty() const { return heap_.empty(); }

 private:
  std::vector<PendingTask> heap_;
  int next_sequence_num_ = 0;
};

}  // namespace base
