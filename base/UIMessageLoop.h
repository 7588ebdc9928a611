#pragma once

#include "base/MessageLoop.h"

namespace base {

class WinUIMessagePump;

// A loop that also runs the thread's Windows messages (WinUIMessagePump).
class UIMessageLoop : public MessageLoop {
 public:
  UIMessageLoop();

  WinUIMessagePump* ui_pump() const;
};

}  // namespace base
