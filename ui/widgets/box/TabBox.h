// A box that shows one of its children (a page) at a time; the others are set aside, hidden
// or, with fade switching, kept visible at alpha 0 and deaf to the mouse.
#pragma once

#include "layout/Box.h"

namespace ui {

class TabBox : public Box {
 public:
  explicit TabBox(Layout* layout = new Layout()) : Box(layout) {}

  bool Add(Control* control) override;
  bool AddAt(Control* control, int index) override;
  bool Remove(Control* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  int GetCurSel() const { return current_sel_; }
  // Brings the page at `index` forward and sets the previous one aside.
  bool SelectItem(int index);
  bool IsFadeSwitch() const { return fade_switch_; }

 private:
  void SetAside(Control* page);
  void BringForward(Control* page);
  void ShowPage(Control* page, bool show);

  int current_sel_ = -1;
  bool fade_switch_ = false;
};

}  // namespace ui
