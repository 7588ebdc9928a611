// One class or event attribute list being applied to a control, on the UI thread. A list is
// refused when it is met again inside itself (a class naming itself, directly or through
// others), when lists nest deeper than kMaxDepth (a long chain of classes would overflow the
// stack), or when its control has had kMaxApplications lists within the outermost one
// (classes that each name the next twice double at every level). The first refusal of each
// kind within an outermost list writes one log line.
#pragma once

#include <cstddef>
#include <string>

namespace ui {

class Control;

class AttributeListScope {
 public:
  static constexpr size_t kMaxDepth = 32;
  static constexpr int kMaxApplications = 256;

  // `what` names the list in the log: `class "name"` or `attributes "list"`.
  AttributeListScope(const Control* target, const std::wstring& what);
  ~AttributeListScope();
  AttributeListScope(const AttributeListScope&) = delete;
  AttributeListScope& operator=(const AttributeListScope&) = delete;

  bool Entered() const { return entered_; }

 private:
  bool entered_ = false;
};

}  // namespace ui
