// The window's controls by name. The last control registered under a name wins; a control
// that goes away takes every entry that points at it along, found by key (also the entry of
// a name it no longer has), so closing a window costs no scan per control.
#pragma once

#include <map>
#include <string>
#include <unordered_map>

namespace ui {

class Control;

class ControlNames {
 public:
  void Register(const std::wstring& name, Control* control);
  Control* Find(const std::wstring& name) const;
  void Forget(Control* control);

 private:
  std::map<std::wstring, Control*> by_name_;
  std::unordered_multimap<Control*, std::wstring> by_control_;
};

}  // namespace ui
