// What a list offers its items: the selection, item selection, its own event entry, scrolling
// an item into view and stopping its scroll animation.
#pragma once

#include <windows.h>

#include "control/EventArgs.h"

namespace ui {

class IListOwner {
 public:
  virtual ~IListOwner() = default;
  virtual int GetCurSel() const = 0;
  virtual bool SelectItem(int index, bool take_focus, bool trigger) = 0;
  virtual void HandleMessageTemplate(EventArgs& args) = 0;
  virtual void EnsureVisible(const RECT& rect) = 0;
  virtual void StopScrollAnimation() = 0;
};

}  // namespace ui
