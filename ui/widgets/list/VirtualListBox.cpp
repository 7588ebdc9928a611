#include "widgets/list/VirtualListBox.h"

#include <algorithm>
#include <climits>

#include "widgets/ScrollBar.h"

namespace ui {

SIZE VirtualLayout::ArrangeChild(const ChildList& children, RECT rect) {
  auto* list = dynamic_cast<VirtualListBox*>(owner_);
  if (!list || !list->HasFewerControlsThanElements()) return VLayout::ArrangeChild(children, rect);
  list->ReArrangeChild(false);
  return SIZE{rect.right - rect.left, list->GetScrollHeight(rect.bottom - rect.top)};
}

VirtualListBox::VirtualListBox() : ListBox(new VirtualLayout()) {}

int64_t VirtualListBox::GetContentHeight() const {
  if (element_height_ <= 0) return 0;
  return std::max<int64_t>(0, static_cast<int64_t>(GetElementCount()) * element_height_);
}

int VirtualListBox::GetScrollHeight(int view) const {
  const int64_t content = GetContentHeight();
  if (content <= view) return static_cast<int>(content);
  return view + static_cast<int>(std::min(content - view, kMaxScrollRange));
}

bool VirtualListBox::IsScrollMapped() const {
  if (!vertical_bar_ || vertical_bar_->GetScrollRange() <= 0) return false;
  const RECT view = GetPaddingPos();
  return GetContentHeight() - (view.bottom - view.top) > vertical_bar_->GetScrollRange();
}

int64_t VirtualListBox::GetContentOffset() const {
  if (!vertical_bar_) return 0;
  const int64_t position = vertical_bar_->GetScrollPos();
  if (!IsScrollMapped()) return position;
  const RECT view = GetPaddingPos();
  const int64_t excess = GetContentHeight() - (view.bottom - view.top);
  const int64_t range = vertical_bar_->GetScrollRange();
  // excess * position / range without overflow: both factors of the rest are below 2^23.
  return excess / range * position + excess % range * position / range;
}

void VirtualListBox::InitElement(int count) {
  max_items_ = count;
  const Pass pass = StartPass();
  const int bound = std::min(count, pass.elements);
  for (int i = 0; i < bound; ++i) {
    Control* control = provider_->MakeItemControl();
    Add(control);
    if (!Bind(pass, control, i)) break;
  }
  RunAskedRefresh();
}

void VirtualListBox::Refresh() {
  if (binding_) {
    refresh_asked_ = true;
    return;
  }
  RefreshControls();
  RunAskedRefresh();
}

void VirtualListBox::RunAskedRefresh() {
  // Asks made during this run are dropped, so a callback that always asks ends.
  if (!refresh_asked_ || running_asked_refresh_) return;
  refresh_asked_ = false;
  running_asked_refresh_ = true;
  RefreshControls();
  running_asked_refresh_ = false;
  refresh_asked_ = false;
}

void VirtualListBox::RefreshControls() {
  const int elements = GetElementCount();
  const int controls = GetCount();
  if (elements < controls) {
    for (int i = 0; i < controls - elements; ++i) RemoveItemAt(0);
  } else if (controls < elements) {
    const int wanted = std::min(max_items_, elements) - controls;
    for (int i = 0; i < wanted; ++i) Add(provider_->MakeItemControl());
  }
  if (GetCount() >= elements) {
    if (controls == max_items_) layout_->ArrangeChild(items_, GetPaddingPos());
    const Pass pass = StartPass();
    for (int i = 0; i < GetCount(); ++i)
      if (!Bind(pass, GetItemAt(i), i)) break;
  } else if (elements > 0) {
    ReArrangeChild(true);
    Arrange();
  }
}

void VirtualListBox::RemoveAll() {
  ListBox::RemoveAll();
  if (vertical_bar_ && vertical_bar_->GetScrollPos() != 0) {
    vertical_bar_->SetScrollPos(0);
    vertical_bar_->SetPos(vertical_bar_->GetPos());
  }
  previous_scroll_ = 0;
  arranged_once_ = false;
}

void VirtualListBox::SetScrollPos(SIZE pos) {
  previous_scroll_ = vertical_bar_ ? static_cast<int>(vertical_bar_->GetScrollPos()) : 0;
  ListBox::SetScrollPos(pos);
  if (HasFewerControlsThanElements()) ReArrangeChild(false);
}

void VirtualListBox::SetPos(RECT rect) {
  const RECT old = rect_;
  ListBox::SetPos(rect);
  if (!EqualRect(&old, &rect) && HasFewerControlsThanElements()) ReArrangeChild(true);
}

void VirtualListBox::HandleMessage(EventArgs& args) {
  if (args.Type == kEventKeyDown) {
    switch (args.chKey) {
      case VK_END: SetScrollPosY(GetScrollRange().cy); return;
      case VK_HOME: SetScrollPosY(0); return;
      case VK_UP: case VK_DOWN: OnArrowKeyDown(args.chKey); return;
      default: break;
    }
  } else if (args.Type == kEventKeyUp && (args.chKey == VK_UP || args.chKey == VK_DOWN)) {
    OnArrowKeyUp(args.chKey);
    return;
  }
  ListBox::HandleMessage(args);
}

bool VirtualListBox::NeedReArrange(Direction& direction) {
  direction = Direction::kUp;
  if (!arranged_once_) {
    arranged_once_ = true;
    return true;
  }
  const int count = GetCount();
  if (count == 0 || count >= GetElementCount() || GetWidth() <= 0) return false;
  const int value = vertical_bar_ ? static_cast<int>(vertical_bar_->GetScrollPos()) : 0;
  // A mapped scroll moves the content by more than the bar moves: the controls follow always.
  if (value < previous_scroll_)
    return IsScrollMapped() || value < GetItemAt(0)->GetPos().top - rect_.top;
  direction = Direction::kDown;
  if (IsScrollMapped()) return true;
  return GetItemAt(count - 1)->GetPos().bottom - rect_.bottom - value < 0;
}

bool VirtualListBox::IsCurrent(const Pass& pass) const {
  return provider_ == pass.provider && GetElementCount() == pass.elements;
}

bool VirtualListBox::Bind(const Pass& pass, Control* item, int element) {
  if (!IsCurrent(pass)) return false;
  binding_ = true;
  provider_->BindItemControl(item, element);
  binding_ = false;
  return IsCurrent(pass);
}

bool VirtualListBox::PlaceAndBind(const Pass& pass, int control, int64_t top, int element) {
  Control* item = GetItemAt(control);
  if (!item) return true;  // removed by an earlier bind callback
  const int64_t clamped = std::clamp<int64_t>(top, INT_MIN / 2, INT_MAX / 2);
  item->SetPos(RECT{rect_.left, static_cast<LONG>(clamped), rect_.right,
                    static_cast<LONG>(clamped + element_height_)});
  return Bind(pass, item, element);
}

void VirtualListBox::ReArrangeChild(bool force) {
  if (element_height_ <= 0 || !provider_ || binding_) return;
  Direction direction = Direction::kUp;
  if (!force && !NeedReArrange(direction)) return;
  PlaceControls(direction);
  RunAskedRefresh();
}

void VirtualListBox::PlaceControls(Direction direction) {
  const Pass pass = StartPass();
  const int elements = pass.elements;
  const int count = GetCount();
  const int64_t scroll = vertical_bar_ ? vertical_bar_->GetScrollPos() : 0;
  const int64_t value = GetContentOffset();
  const int first = static_cast<int>(value / element_height_);
  // The controls are placed in scroll coordinates, where the view's top is at `scroll`.
  const int64_t origin = rect_.top + scroll - (value - static_cast<int64_t>(first) * element_height_);
  // Going up, some controls wait above the view. Near either end the run of elements is
  // moved inside the list, so that every control shows an element at its own place.
  const int above = direction == Direction::kUp
                        ? std::max(0, count - GetHeight() / element_height_ - 1)
                        : 0;
  const int start = std::clamp(first - above, 0, std::max(0, elements - count));
  auto place = [&](int k) {
    const int element = start + k;
    return element >= elements ||
           PlaceAndBind(pass, k, origin + static_cast<int64_t>(element - first) * element_height_,
                        element);
  };
  // Upward from the view's top first, then downward.
  const int top = std::clamp(first - start, 0, count);
  for (int k = top - 1; k >= 0; --k)
    if (!place(k)) return;
  for (int k = top; k < count; ++k)
    if (!place(k)) return;
}

}  // namespace ui
