// A scrollable box of selectable items with one current selection, keyboard and wheel
// navigation, and scrolling of the selected item into view.
#pragma once

#include "layout/ScrollableBox.h"
#include "widgets/list/ListOwner.h"

namespace ui {

class ListBox : public ScrollableBox, public IListOwner {
 public:
  explicit ListBox(Layout* layout = new VLayout());

  // Box.
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void HandleMessage(EventArgs& args) override;
  bool ButtonDown(EventArgs& args) override;
  bool Add(Control* control) override;
  // Inserted elements get this list as owner; the elements after them are renumbered.
  bool AddAt(Control* control, int index) override;
  bool Remove(Control* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;
  bool SetItemIndex(Control* control, int index) override;

  // IListOwner.
  int GetCurSel() const override { return current_sel_; }
  bool SelectItem(int index, bool take_focus = false, bool trigger = true) override;
  void HandleMessageTemplate(EventArgs& args) override;
  void EnsureVisible(const RECT& rect) override;
  void StopScrollAnimation() override;

  virtual bool ScrollToNamedItem(const std::wstring& name);
  virtual Control* GetFirstVisibleItem() const;

  // The first selectable element from `index` in the given direction; backward falls back
  // to the first one from the start. -1 when there is none.
  int FindSelectable(int index, bool forward) const;
  bool IsScrollSelect() const { return scroll_select_; }
  bool IsSelectNextWhenActiveRemoved() const { return select_next_on_remove_; }
  void SelectNextWhenActiveRemoved(bool value) { select_next_on_remove_ = value; }

 protected:
  // Removes the item at `index` and renumbers the elements after it.
  bool RemoveItemAt(int index);
  void RenumberFrom(int first, int last);

  bool scroll_select_ = false;
  int current_sel_ = -1;
  bool select_next_on_remove_ = true;
};

}  // namespace ui
