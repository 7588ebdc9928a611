#include "window/OptionGroups.h"

#include <vector>

#include "control/Control.h"

namespace ui {

bool OptionGroup::Add(Control* control) {
  if (Contains(control)) return false;
  index_[control] = members_.insert(members_.end(), control);
  return true;
}

void OptionGroup::Remove(Control* control) {
  auto found = index_.find(control);
  if (found == index_.end()) return;
  members_.erase(found->second);
  index_.erase(found);
}

bool OptionGroups::Add(const std::wstring& group, Control* control) {
  return groups_[group].Add(control);
}

const OptionGroup* OptionGroups::Find(const std::wstring& group) const {
  auto found = groups_.find(group);
  return found == groups_.end() ? nullptr : &found->second;
}

void OptionGroups::Remove(const std::wstring& group, Control* control) {
  auto found = groups_.find(group);
  if (found == groups_.end()) return;
  found->second.Remove(control);
  if (found->second.empty()) groups_.erase(found);
  // The members it would have unselected still are, at the batch's end.
  auto deferred = deferred_.find(group);
  if (deferred != deferred_.end() && deferred->second.control == control) deferred->second.control = nullptr;
}

void OptionGroups::ApplySelection(const std::wstring& group, Control* selected, bool trigger_event) {
  if (batches_ > 0)
    deferred_[group] = Selection{selected, trigger_event};
  else
    UnselectOthers(group, Selection{selected, trigger_event});
}

void OptionGroups::EndBatch() {
  if (--batches_ > 0) return;
  std::map<std::wstring, Selection> deferred;
  deferred.swap(deferred_);
  for (const auto& [group, selection] : deferred) UnselectOthers(group, selection);
}

void OptionGroups::UnselectOthers(const std::wstring& group, const Selection& selection) {
  const OptionGroup* members = Find(group);
  if (!members) return;
  // Handlers of the events sent may change the group: each member is checked before its turn.
  const std::vector<Control*> snapshot(members->begin(), members->end());
  for (Control* member : snapshot) {
    if (member == selection.control) continue;
    members = Find(group);
    if (!members) return;
    if (!members->Contains(member)) continue;
    if (auto* option = dynamic_cast<OptionGroupMember*>(member))
      option->UnselectForGroup(selection.trigger_event);
  }
}

}  // namespace ui
