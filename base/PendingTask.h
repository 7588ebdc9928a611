#pragma once

#include <cstdint>
#include <utility>

#include "base/Closure.h"

namespace base {

// One queued closure. A run time of 0 means "as soon as possible"; the sequence number
// orders delayed tasks with equal run times.
struct PendingTask {
  PendingTask(Closure closure, int64_t run_time, bool is_nestable)
      : delayed_run_time(run_time), nestable(is_nestable), task(std::move(closure)) {}

  int64_t delayed_run_time = 0;
  int sequence_num = 0;
  bool nestable = true;
  Closure task;
};

}  // namespace base
