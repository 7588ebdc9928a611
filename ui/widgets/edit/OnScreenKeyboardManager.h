// Shows the system touch keyboard when a rich edit is touched and hides it when the edit
// loses focus. Only the last wish is kept; the keyboard's own state is read at every check.
#pragma once

#include "base/WeakCallback.h"

namespace ui {

class OnScreenKeyboardManager : public virtual base::SupportWeakCallback {
 public:
  static OnScreenKeyboardManager* GetInstance();

  // Records the wish and schedules one check 10 ms later (Windows 8 and later only).
  void ShowOSK(bool show);
  // Compares the wish with the keyboard window and shows or closes it.
  void CheckKeyboard();
  // Starts "TabTip.exe" from the common program files.
  void StartTabTip();

 private:
  OnScreenKeyboardManager() = default;

  bool show_wanted_ = false;
};

}  // namespace ui
