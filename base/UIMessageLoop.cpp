#include "base/UIMessageLoop.h"

#include "base/WinUIMessagePump.h"

namespace base {

UIMessageLoop::UIMessageLoop() : MessageLoop(kUIMessageLoop, std::make_shared<WinUIMessagePump>()) {}

WinUIMessagePump* UIMessageLoop::ui_pump() const { return static_cast<WinUIMessagePump*>(pump()); }

}  // namespace base
