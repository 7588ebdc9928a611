// The option groups of a window: each group's members in joining order, found by key, and
// the group rule (selecting a member unselects every other one), which a batch (a build, or a
// tree joining the window) runs once per group when it ends instead of once per selection.
#pragma once

#include <list>
#include <map>
#include <string>
#include <unordered_map>

namespace ui {

class Control;

// What a group asks of its members: to be unselected when another member is selected.
class OptionGroupMember {
 public:
  virtual void UnselectForGroup(bool trigger_event) = 0;

 protected:
  ~OptionGroupMember() = default;
};

class OptionGroup {
 public:
  using const_iterator = std::list<Control*>::const_iterator;

  // False when the control is a member already.
  bool Add(Control* control);
  void Remove(Control* control);
  bool Contains(Control* control) const { return index_.count(control) != 0; }
  size_t size() const { return members_.size(); }
  bool empty() const { return members_.empty(); }
  const_iterator begin() const { return members_.begin(); }
  const_iterator end() const { return members_.end(); }

 private:
  std::list<Control*> members_;
  std::unordered_map<Control*, std::list<Control*>::iterator> index_;
};

class OptionGroups {
 public:
  bool Add(const std::wstring& group, Control* control);
  const OptionGroup* Find(const std::wstring& group) const;
  void Remove(const std::wstring& group, Control* control);
  // Every member of `group` but `selected` is unselected: now, or once the batches running
  // end (the last member selected during them wins).
  void ApplySelection(const std::wstring& group, Control* selected, bool trigger_event);
  void BeginBatch() { ++batches_; }
  void EndBatch();

 private:
  struct Selection {
    Control* control;
    bool trigger_event;
  };
  void UnselectOthers(const std::wstring& group, const Selection& selection);

  std::map<std::wstring, OptionGroup> groups_;
  int batches_ = 0;
  std::map<std::wstring, Selection> deferred_;
};

// Defers the group rule of `groups` (none: nothing) while it lives.
class OptionGroupBatch {
 public:
  explicit OptionGroupBatch(OptionGroups* groups) : groups_(groups) {
    if (groups_) groups_->BeginBatch();
  }
  ~OptionGroupBatch() {
    if (groups_) groups_->EndBatch();
  }
  OptionGroupBatch(const OptionGroupBatch&) = delete;
  OptionGroupBatch& operator=(const OptionGroupBatch&) = delete;

 private:
  OptionGroups* groups_;
};

}  // namespace ui
