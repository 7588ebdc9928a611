#include "window/ControlNames.h"

namespace ui {

void ControlNames::Register(const std::wstring& name, Control* control) {
  Control*& entry = by_name_[name];
  if (entry == control) return;
  if (entry) {
    auto [first, last] = by_control_.equal_range(entry);
    for (auto it = first; it != last; ++it) {
      if (it->second == name) {
        by_control_.erase(it);
        break;
      }
    }
  }
  entry = control;
  by_control_.emplace(control, name);
}

Control* ControlNames::Find(const std::wstring& name) const {
  auto found = by_name_.find(name);
  return found == by_name_.end() ? nullptr : found->second;
}

void ControlNames::Forget(Control* control) {
  auto [first, last] = by_control_.equal_range(control);
  for (auto it = first; it != last; ++it) by_name_.erase(it->second);
  by_control_.erase(first, last);
}

}  // namespace ui
