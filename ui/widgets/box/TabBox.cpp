#include "widgets/box/TabBox.h"

namespace ui {

bool TabBox::Add(Control* control) {
  // Box::Add goes through the virtual AddAt; the page bookkeeping here is Add's own.
  if (!Box::AddAt(control, GetCount())) return false;
  const int index = GetItemIndex(control);
  if (current_sel_ == -1 && control->IsVisible()) current_sel_ = index;
  if (index == current_sel_ && control->IsVisible()) return true;
  SetAside(control);
  return true;
}

bool TabBox::AddAt(Control* control, int index) {
  if (!Box::AddAt(control, index)) return false;
  if (current_sel_ == -1 && control->IsVisible()) {
    current_sel_ = index;
    return true;
  }
  // An inserted page is set aside like any other; the selection follows its own page.
  if (current_sel_ != -1 && index <= current_sel_) ++current_sel_;
  SetAside(control);
  return true;
}

bool TabBox::Remove(Control* control) {
  if (!control) return false;
  const int index = GetItemIndex(control);
  if (!Box::Remove(control)) return false;
  if (index == current_sel_) {
    if (GetCount() == 0) {
      current_sel_ = -1;
    } else {
      current_sel_ = 0;
      BringForward(GetItemAt(0));
    }
    ArrangeAncestor();
  } else if (index < current_sel_) {
    --current_sel_;
  }
  return true;
}

bool TabBox::RemoveAt(int index) {
  Control* page = GetItemAt(index);
  return page && Remove(page);
}

void TabBox::RemoveAll() {
  current_sel_ = -1;
  Box::RemoveAll();
  ArrangeAncestor();
}

void TabBox::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"selectedid") {
    // Before the pages exist this only picks the page that will stay shown.
    const int index = _wtoi(value.c_str());
    if (!SelectItem(index)) current_sel_ = index;
  }
  else if (name == L"fadeswitch")
    fade_switch_ = value == L"true";
  else
    Box::SetAttribute(name, value);
}

bool TabBox::SelectItem(int index) {
  Control* page = GetItemAt(index);
  if (!page) return false;
  if (index == current_sel_) return true;
  if (Control* old = GetItemAt(current_sel_)) SetAside(old);
  current_sel_ = index;
  BringForward(page);
  Arrange();
  return true;
}

void TabBox::SetAside(Control* page) { ShowPage(page, false); }

void TabBox::BringForward(Control* page) { ShowPage(page, true); }

void TabBox::ShowPage(Control* page, bool show) {
  if (!fade_switch_) page->SetFadeVisible(show);
  page->SetMouseEnabled(show);
  if (Box* box = dynamic_cast<Box*>(page)) box->SetMouseChildEnabled(show);
  page->SetAlpha(show ? 255 : 0);
  page->Invalidate();
}

}  // namespace ui
