// One selectable item of a list: a box with a text and a selected state that reports clicks, double
// clicks, Return and context menus, and selects itself through its owning list.
#pragma once

#include "widgets/Option.h"
#include "widgets/list/ListOwner.h"

namespace ui {

class ListContainerElement : public OptionTemplate<Box> {
 public:
  ListContainerElement();

  void Activate() override;
  void SetFadeVisible(bool visible) override;
  void HandleMessage(EventArgs& args) override;

  // Asks the owner to select this element (the owner then calls OptionSelected).
  void Selected(bool selected, bool trigger = false) override;
  // The option's own selection, called by the owner: this element's Selected would only
  // ask the owner again.
  void OptionSelected(bool selected, bool trigger) {
    OptionTemplate<Box>::Selected(selected, trigger);
  }
  // Clears the selected flag without any event.
  void ClearSelectedFlag();

  IListOwner* GetOwner() const { return owner_; }
  void SetOwner(IListOwner* owner) { owner_ = owner; }
  int GetIndex() const { return index_; }
  void SetIndex(int index) { index_ = index; }

 protected:
  int index_ = -1;
  IListOwner* owner_ = nullptr;
};

}  // namespace ui
