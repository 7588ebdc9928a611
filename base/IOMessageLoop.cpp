#include "base/IOMessageLoop.h"

#include "base/WinIOMessagePump.h"

namespace base {

IOMessageLoop::IOMessageLoop() : MessageLoop(kIOMessageLoop, std::make_shared<WinIOMessagePump>()) {}

WinIOMessagePump* IOMessageLoop::io_pump() const { return static_cast<WinIOMessagePump*>(pump()); }

}  // namespace base
