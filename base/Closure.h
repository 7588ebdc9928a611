#pragma once

#include <functional>

namespace base {

// A task: a callable with no arguments and no result.
using Closure = std::function<void()>;

}  // namespace base
