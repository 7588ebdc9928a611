#pragma once

#include <memory>

namespace base {

class MessageLoop;

// Builds the loop of a thread started with a custom loop.
class MessageLoopFactory {
 public:
  virtual ~MessageLoopFactory() = default;
  virtual std::unique_ptr<MessageLoop> CreateMessageLoop() = 0;
};

}  // namespace base
