// A check box in a named option group of its window: selecting one member unselects every
// other one, and clicking never unselects.
#pragma once

#include "widgets/CheckBox.h"
#include "window/OptionGroups.h"

namespace ui {

template <typename Base = Control>
class OptionTemplate : public CheckBoxTemplate<Base>, public OptionGroupMember {
 public:
  ~OptionTemplate() override {
    if (!group_.empty() && this->window_) this->window_->RemoveOptionGroup(group_, this);
  }

  void SetWindow(Window* window, Box* parent, bool init) override {
    CheckBoxTemplate<Base>::SetWindow(window, parent, init);
    if (!init || group_.empty() || !this->window_) return;
    // One selected before it joined wins over the members there: a group never holds two.
    if (this->window_->AddOptionGroup(group_, this) && this->selected_)
      this->window_->SelectInOptionGroup(group_, this, true);
  }
  using CheckBoxTemplate<Base>::SetWindow;

  std::wstring GetGroup() const { return group_; }

  void SetGroup(const std::wstring& group) {
    if (group == group_) return;
    if (!group_.empty() && this->window_) this->window_->RemoveOptionGroup(group_, this);
    group_ = group;
    if (!group_.empty() && this->window_) this->window_->AddOptionGroup(group_, this);
    Selected(this->selected_, true);
  }

  void Selected(bool selected, bool trigger_event = false) override {
    this->selected_ = selected;
    if (this->window_) {
      if (selected) {
        if (!group_.empty()) this->window_->SelectInOptionGroup(group_, this, trigger_event);
        if (trigger_event) this->window_->SendNotify(this, kEventSelect);
      } else {
        this->window_->SendNotify(this, kEventUnSelect);
      }
    }
    this->Invalidate();
  }

  void UnselectForGroup(bool trigger_event) override { Selected(false, trigger_event); }

  void Activate() override {
    if (!this->IsActivatable()) return;
    if (this->window_) this->window_->SendNotify(this, kEventClick);
    if (this->IsActivatable()) Selected(true, true);
  }

  void SetAttribute(const std::wstring& name, const std::wstring& value) override {
    if (name == L"group")
      SetGroup(value);
    else
      CheckBoxTemplate<Base>::SetAttribute(name, value);
  }

 private:
  std::wstring group_;
};

using Option = OptionTemplate<Control>;
using OptionBox = OptionTemplate<Box>;

}  // namespace ui
