// One selectable item of a list: a box with a selected state that reports clicks, double
// clicks, Return and context menus, and selects itself through its owning list.
#pragma once

#include "layout/Box.h"
#include "widgets/list/ListOwner.h"

namespace ui {

class ListContainerElement : public Box {
 public:
  ListContainerElement();

  void Activate() override;
  void SetFadeVisible(bool visible) override;
  void HandleMessage(EventArgs& args) override;

  bool IsSelected() const { return selected_; }
  // Asks the owner to select this element (the owner then calls OptionSelected).
  virtual void Selected(bool selected, bool trigger);
  // The plain selected-state change: stores it and announces "select" when asked.
  void OptionSelected(bool selected, bool trigger);

  IListOwner* GetOwner() const { return owner_; }
  void SetOwner(IListOwner* owner) { owner_ = owner; }
  int GetIndex() const { return index_; }
  void SetIndex(int index) { index_ = index; }

 protected:
  bool selected_ = false;
  int index_ = -1;
  IListOwner* owner_ = nullptr;
};

}  // namespace ui
