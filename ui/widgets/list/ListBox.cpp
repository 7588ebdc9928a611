#include "widgets/list/ListBox.h"

#include <algorithm>

#include "widgets/ScrollBar.h"
#include "widgets/list/ListContainerElement.h"
#include "window/Window.h"

namespace ui {
namespace {

ListContainerElement* AsElement(Control* control) {
  return dynamic_cast<ListContainerElement*>(control);
}

}  // namespace

ListBox::ListBox(Layout* layout) : ScrollableBox(layout) {}

void ListBox::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"scrollselect")
    scroll_select_ = value == L"true";
  else
    ScrollableBox::SetAttribute(name, value);
}

int ListBox::FindSelectable(int index, bool forward) const {
  const int count = GetCount();
  if (count == 0) return -1;
  index = std::clamp(index, 0, count - 1);
  auto selectable = [this](int i) {
    Control* item = GetItemAt(i);
    return AsElement(item) && item->IsVisible() && item->IsEnabled();
  };
  if (forward) {
    for (int i = index; i < count; ++i)
      if (selectable(i)) return i;
    return -1;
  }
  for (int i = index; i >= 0; --i)
    if (selectable(i)) return i;
  return FindSelectable(0, true);
}

void ListBox::HandleMessage(EventArgs& args) {
  const int type = args.Type;
  if (!IsMouseEnabled() && type >= kEventMouseMove && type <= kEventMouseScrollWheel) {
    if (parent_)
      static_cast<Control*>(parent_)->HandleMessageTemplate(args);
    else
      ScrollableBox::HandleMessage(args);
    return;
  }
  if (type == kEventKeyDown) {
    switch (args.chKey) {
      case VK_END:
        // The last item when it is selectable; otherwise the selection is cleared.
        SelectItem(FindSelectable(GetCount() - 1, true), true, true);
        return;
      case VK_HOME:
        SelectItem(FindSelectable(0, false), true, true);
        return;
      case VK_UP:
        SelectItem(FindSelectable(current_sel_ - 1, false), true, true);
        return;
      case VK_DOWN:
        SelectItem(FindSelectable(current_sel_ + 1, true), true, true);
        return;
      default:
        break;
    }
  } else if (type == kEventMouseButtonDown || type == kEventMouseButtonUp) {
    return;
  } else if (type == kEventMouseScrollWheel && scroll_select_) {
    const int delta = static_cast<int>(static_cast<INT_PTR>(args.wParam));
    if (delta <= 0)
      SelectItem(FindSelectable(current_sel_ + 1, true), true, true);
    else
      SelectItem(FindSelectable(current_sel_ - 1, false), true, true);
    return;
  }
  ScrollableBox::HandleMessage(args);
}

bool ListBox::ButtonDown(EventArgs&) {
  bool handled = false;
  if (IsEnabled()) {
    SetState(kControlStatePushed);
    SetMouseFocused(true);
    Invalidate();
    handled = true;
  }
  StopScrollAnimation();
  return handled;
}

bool ListBox::Add(Control* control) { return AddAt(control, GetCount()); }

bool ListBox::AddAt(Control* control, int index) {
  if (!ScrollableBox::AddAt(control, index)) return false;
  if (ListContainerElement* element = AsElement(control)) element->SetOwner(this);
  RenumberFrom(index, GetCount() - 1);
  if (current_sel_ >= 0 && index <= current_sel_) ++current_sel_;
  return true;
}

bool ListBox::Remove(Control* control) {
  const int index = GetItemIndex(control);
  if (index < 0) return false;
  return RemoveItemAt(index);
}

bool ListBox::RemoveAt(int index) { return RemoveItemAt(index); }

void ListBox::RenumberFrom(int first, int last) {
  for (int i = std::max(first, 0); i <= last && i < GetCount(); ++i)
    if (ListContainerElement* element = AsElement(GetItemAt(i))) element->SetIndex(i);
}

bool ListBox::RemoveItemAt(int index) {
  Control* item = GetItemAt(index);
  if (!item || !ScrollableBox::Remove(item)) return false;
  RenumberFrom(index, GetCount() - 1);
  if (index == current_sel_ && current_sel_ >= 0) {
    if (select_next_on_remove_) {
      current_sel_ = index - 1;
      SelectItem(FindSelectable(index, false), false, true);
    } else {
      current_sel_ = -1;
    }
  } else if (index < current_sel_) {
    --current_sel_;
  }
  return true;
}

void ListBox::RemoveAll() {
  current_sel_ = -1;
  ScrollableBox::RemoveAll();
}

bool ListBox::SetItemIndex(Control* control, int index) {
  const int old_index = GetItemIndex(control);
  if (old_index == -1) return false;
  if (old_index == index) return true;
  Control* selected = GetItemAt(current_sel_);
  if (!ScrollableBox::SetItemIndex(control, index)) return false;
  RenumberFrom(std::min(old_index, index), std::max(old_index, index));
  current_sel_ = selected ? GetItemIndex(selected) : -1;
  return true;
}

bool ListBox::SelectItem(int index, bool take_focus, bool trigger) {
  const int previous = current_sel_;
  if (ListContainerElement* old = AsElement(GetItemAt(current_sel_))) {
    old->ClearSelectedFlag();
    if (window_) window_->SendNotify(old, kEventUnSelect);
  }
  current_sel_ = -1;
  if (index < 0) return false;
  Control* item = GetItemAt(index);
  ListContainerElement* element = AsElement(item);
  if (!element || !item->IsVisible() || !item->IsEnabled()) return false;
  current_sel_ = index;
  // The option's own selection: the element's Selected would come back here.
  element->OptionSelected(true, trigger);
  EnsureVisible(element->GetPos());
  if (take_focus) element->SetFocus();
  if (trigger && window_) window_->SendNotify(this, kEventSelect, current_sel_, previous);
  return true;
}

void ListBox::HandleMessageTemplate(EventArgs& args) { ScrollableBox::HandleMessageTemplate(args); }

void ListBox::EnsureVisible(const RECT& item_rect) {
  RECT rect = item_rect;
  const SIZE scroll = GetScrollPos();
  OffsetRect(&rect, -scroll.cx, -scroll.cy);
  RECT area = GetPaddingPos();
  if (horizontal_bar_ && horizontal_bar_->IsVisible()) area.bottom -= horizontal_bar_->GetFixedHeight();
  const bool inside = rect.left >= area.left && rect.top >= area.top &&
                      rect.right <= area.right && rect.bottom <= area.bottom;
  if (inside) {
    if (ListContainerElement* parent = dynamic_cast<ListContainerElement*>(parent_))
      if (parent->GetOwner()) parent->GetOwner()->EnsureVisible(item_rect);
    return;
  }
  int dx = 0;
  if (rect.right > area.right) dx = rect.right - area.right;
  else if (rect.left < area.left) dx = rect.left - area.left;
  int dy = 0;
  if (rect.bottom > area.bottom) dy = rect.bottom - area.bottom;
  else if (rect.top < area.top) dy = rect.top - area.top;
  SetScrollPos(SIZE{scroll.cx + dx, scroll.cy + dy});
}

void ListBox::StopScrollAnimation() { scroll_animation_.Stop(); }

bool ListBox::ScrollToNamedItem(const std::wstring& name) {
  Control* found = nullptr;
  for (int i = 0; i < GetCount() && !found; ++i)
    if (GetItemAt(i)->GetName() == name) found = GetItemAt(i);
  if (!found || GetScrollRange().cy == 0) return false;
  const int offset = found->GetPos().top - (rect_.top + layout_->GetPadding().top);
  if (offset < 0) return false;
  SetScrollPos(SIZE{GetScrollPos().cx, offset});
  return true;
}

Control* ListBox::GetFirstVisibleItem() const {
  const int line = rect_.top + layout_->GetPadding().top + GetScrollPos().cy;
  for (int i = 0; i < GetCount(); ++i) {
    Control* item = GetItemAt(i);
    if (item->IsVisible() && !item->IsFloat() && item->GetPos().bottom >= line) return item;
  }
  return nullptr;
}

}  // namespace ui
