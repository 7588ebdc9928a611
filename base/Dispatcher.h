#pragma once

#include <windows.h>

namespace base {

// Takes over message dispatch in a UI loop's run; returning false ends that run.
class Dispatcher {
 public:
  virtual ~Dispatcher() = default;
  virtual bool Dispatch(const MSG& message) = 0;
};

}  // namespace base
