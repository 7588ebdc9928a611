#pragma once

#include "base/MessageLoop.h"

namespace base {

class WinIOMessagePump;

// A loop that waits on an IO completion port (WinIOMessagePump).
class IOMessageLoop : public MessageLoop {
 public:
  IOMessageLoop();

  WinIOMessagePump* io_pump() const;
};

}  // namespace base
