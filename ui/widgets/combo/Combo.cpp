#include "widgets/combo/Combo.h"

#include <algorithm>

#include "image/ImageAttribute.h"
#include "render/RenderInterfaces.h"
#include "resources/GlobalManager.h"
#include "widgets/list/ListContainerElement.h"

namespace ui {
namespace {

// The combo's own window and the rectangle of the work area it is on.
RECT WorkAreaOf(HWND hwnd) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
  return monitor.rcWork;
}

}  // namespace

Combo::Combo() : list_(new ListBox(new VLayout())) {
  list_->GetLayout()->SetPadding(RECT{1, 1, 1, 1});
  list_->SetBorderSize(RECT{1, 1, 1, 1});
  // The combo deletes removed items itself: their user data must not outlive the list.
  list_->SetAutoDestroy(false);
  list_->EnableScrollBar(true, false);
  list_->SelectNextWhenActiveRemoved(true);
  list_->ApplyAttributeList(drop_box_attributes_);
  list_->AttachEvent(kEventSelect, MakeWeakCallback([this](EventArgs* args) {
                       return OnListSelect(args);
                     }));
}

Combo::~Combo() {
  // An open pop-up holds the list and a pointer to this combo: close it first.
  if (popup_) {
    CComboWnd* popup = popup_;
    popup->DetachList();
    HWND hwnd = popup->GetHWND();
    popup_ = nullptr;
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  RemoveAll();
}

void Combo::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"dropbox") {
    drop_box_attributes_ = value;
    list_->ApplyAttributeList(value);
  } else if (name == L"vscrollbar") {
  } else if (name == L"dropboxsize") {
    const RECT size = ParseRect(value);
    drop_box_size_ = SIZE{ScaleByDpi(size.left), ScaleByDpi(size.top)};
  } else if (name == L"popuptop") {
    popup_top_ = value == L"true";
  } else {
    Box::SetAttribute(name, value);
  }
}

int Combo::GetCount() const { return list_->GetCount(); }

bool Combo::Add(Control* item) {
  list_->Add(item);
  item->SetReceivePointer(true);
  current_index_ = list_->GetCurSel();
  return true;
}

void Combo::DeleteItem(Control* item) {
  if (Window* window = list_->GetWindow())
    window->AddDelayedCleanup(item);
  else
    delete item;
}

bool Combo::Remove(Control* item) {
  const bool removed = list_->Remove(item);
  if (removed) DeleteItem(item);
  current_index_ = list_->GetCurSel();
  return removed;
}

bool Combo::RemoveAt(int index) { return Remove(list_->GetItemAt(index)); }

void Combo::RemoveAll() {
  std::vector<Control*> items;
  for (int i = 0; i < list_->GetCount(); ++i) items.push_back(list_->GetItemAt(i));
  list_->RemoveAll();
  for (Control* item : items) DeleteItem(item);
  current_index_ = -1;
}

bool Combo::SelectItem(int index) {
  if (index < 0 || index >= GetCount() || index == current_index_) return false;
  current_index_ = index;
  list_->SelectItem(index, false, false);
  return true;
}

std::wstring Combo::GetText() const {
  auto* item = dynamic_cast<ListContainerElement*>(list_->GetItemAt(current_index_));
  return item ? item->GetText() : std::wstring();
}

RECT Combo::PopupRect() {
  RECT combo = GetPos(true);
  const SIZE scroll = GetScrollOffset();
  OffsetRect(&combo, -scroll.cx, -scroll.cy);
  const int width = drop_box_size_.cx >= 1 ? drop_box_size_.cx : combo.right - combo.left;
  const SIZE available = {width, drop_box_size_.cy};
  int content = 0;
  for (int i = 0; i < list_->GetCount(); ++i) {
    Control* item = list_->GetItemAt(i);
    if (item->IsVisible()) content += item->EstimateSize(available).cy;
  }
  const int height = std::min(content + 2, static_cast<int>(drop_box_size_.cy));
  HWND hwnd = window_ ? window_->GetHWND() : nullptr;
  RECT below = {combo.left, combo.bottom + 1, combo.left + width, combo.bottom + 1 + height};
  MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&below), 2);
  // The combo's own monitor: the pop-up does not exist yet.
  if (below.bottom <= WorkAreaOf(hwnd).bottom && !popup_top_) return below;
  RECT above = {combo.left, combo.top - height, combo.left + width, combo.top};
  MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&above), 2);
  return above;
}

void Combo::Activate() {
  if (!IsActivatable() || popup_ || !window_) return;
  const RECT rect = PopupRect();
  popup_ = new CComboWnd(this);
  if (!popup_->Open(window_->GetHWND(), rect)) {
    popup_ = nullptr;  // the failed window deleted itself
    return;
  }
  if (popup_) popup_->SendNotify(this, kEventClick);
  Invalidate();
}

bool Combo::OnListSelect(EventArgs*) {
  if (popup_) PostMessageW(popup_->GetHWND(), WM_KILLFOCUS, 0, 0);
  current_index_ = list_->GetCurSel();
  if (Control* chosen = list_->GetItemAt(current_index_)) {
    chosen->SetHotAlpha(0);
    chosen->SetState(kControlStateNormal);
    chosen->Invalidate();
  }
  if (popup_) popup_->SendNotify(this, kEventSelect, current_index_, -1);
  return true;
}

void Combo::PaintText(IRenderContext* context) {
  if (current_index_ < 0) return;
  auto* item = dynamic_cast<ListContainerElement*>(list_->GetItemAt(current_index_));
  if (!item || item->GetOwner() != list_.get()) return;
  RECT rect = rect_;
  const RECT padding = item->GetTextPadding();
  rect.left += padding.left;
  rect.top += padding.top;
  rect.right -= padding.right;
  rect.bottom -= padding.bottom;
  const std::wstring text = GetText();
  if (text.empty()) return;
  const DWORD color = GlobalManager::GetTextColor(item->GetStateTextColor(kControlStateNormal));
  context->DrawText(rect, text, color, item->GetFont(), DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS,
                    255, false);
}

bool CComboWnd::Open(HWND owner, const RECT& rect) {
  if (!Create(owner, L"", WS_POPUP, WS_EX_TOOLWINDOW, true, rect)) return false;
  ::ShowWindow(GetHWND(), SW_SHOW);
  HWND top = owner;
  while (HWND parent = GetParent(top)) top = parent;
  SendMessageW(top, WM_NCACTIVATE, TRUE, 0);
  return true;
}

void CComboWnd::DetachList() {
  ListBox* list = owner_->list_.get();
  if (Box* root = GetRoot(); root && root->GetItemIndex(list) >= 0) root->Remove(list);
  list->SetWindow(nullptr, nullptr, false);
}

LRESULT CComboWnd::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) {
    Init(GetHWND());
    auto* root = new Box();
    root->SetAutoDestroy(false);
    root->Add(owner_->list_.get());
    GetShadow().SetAttached(false);
    AttachRoot(root);
    if (Window* combo_window = owner_->GetWindow())
      SetResourcePath(combo_window->GetResourcePath());
    return 0;
  }
  if (message == WM_CLOSE) {
    owner_->SetWindow(owner_->GetWindow(), owner_->GetParent(), false);
    owner_->SetPos(owner_->GetPos(true));
    owner_->SetFocus();
  } else if (message == WM_KILLFOCUS && reinterpret_cast<HWND>(wparam) != GetHWND()) {
    closing_ = true;
    PostMessageW(GetHWND(), WM_CLOSE, 0, 0);
    owner_->SelectItem(owner_->list_->GetCurSel());
    DetachList();
  }
  if (!closing_) {
    bool handled = false;
    const LRESULT result = HandleWindowMessage(message, wparam, lparam, handled);
    if (handled) return result;
  }
  return CallWindowProcW(old_proc_, GetHWND(), message, wparam, lparam);
}

void CComboWnd::OnFinalMessage(HWND hwnd) {
  Window::OnFinalMessage(hwnd);
  if (owner_->popup_ == this) {
    owner_->popup_ = nullptr;
    owner_->Invalidate();
  }
  delete this;
}

}  // namespace ui
