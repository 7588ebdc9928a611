#include "control/AttributeListScope.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "system/SkinLog.h"

namespace ui {
namespace {

enum Refusal { kLoop, kDepth, kBudget, kRefusals };

// The lists being applied, innermost last, and what the outermost one has cost so far.
struct Applying {
  std::vector<std::pair<const Control*, std::wstring>> stack;
  std::unordered_map<const Control*, int> applications;
  bool logged[kRefusals] = {};
};

Applying& Current() {
  static Applying applying;
  return applying;
}

void Refuse(Refusal refusal, const std::wstring& what) {
  Applying& applying = Current();
  if (applying.logged[refusal]) return;
  applying.logged[refusal] = true;
  switch (refusal) {
    case kLoop:
      LogSkinProblem(what + L" leads back to itself while it is applied; ignored");
      break;
    case kDepth:
      LogSkinProblem(what + L" would nest more than " +
                     std::to_wstring(AttributeListScope::kMaxDepth) + L" lists deep; ignored");
      break;
    default:
      LogSkinProblem(what + L" and further lists ignored: one control took " +
                     std::to_wstring(AttributeListScope::kMaxApplications) + L" lists at once");
      break;
  }
}

}  // namespace

AttributeListScope::AttributeListScope(const Control* target, const std::wstring& what) {
  Applying& applying = Current();
  if (applying.stack.empty()) applying = Applying();
  auto entry = std::make_pair(target, what);
  if (std::find(applying.stack.begin(), applying.stack.end(), entry) != applying.stack.end()) {
    Refuse(kLoop, what);
    return;
  }
  if (applying.stack.size() >= kMaxDepth) {
    Refuse(kDepth, what);
    return;
  }
  int& applications = applying.applications[target];
  if (applications >= kMaxApplications) {
    Refuse(kBudget, what);
    return;
  }
  ++applications;
  applying.stack.push_back(std::move(entry));
  entered_ = true;
}

AttributeListScope::~AttributeListScope() {
  if (entered_) Current().stack.pop_back();
}

}  // namespace ui
