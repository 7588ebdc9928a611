// Keyboard, mouse, focus and clipboard traffic of the rich edit.
#include <windows.h>
#include <imm.h>

#include <algorithm>

#include "text/TextUtils.h"
#include "widgets/edit/OnScreenKeyboardManager.h"
#include "widgets/edit/RichEdit.h"
#include "widgets/edit/TextHost.h"
#include "window/Window.h"

namespace ui {
namespace {

bool IsKeyDown(int key) { return GetKeyState(key) < 0; }

}  // namespace

void RichEdit::ForwardMouse(UINT message, const EventArgs& args) {
  const SIZE offset = GetScrollOffset();
  TxSendMessage(message, args.wParam,
                MAKELPARAM(args.ptMouse.x + offset.cx, args.ptMouse.y + offset.cy), nullptr);
}

void RichEdit::HandleMessage(EventArgs& args) {
  const int type = args.Type;
  const bool mouse_event = type >= kEventMouseMove && type <= kEventMouseScrollWheel;
  if (!IsEnabled() || (!IsMouseEnabled() && mouse_event)) {
    if (parent_)
      Bubble(args);
    else
      Control::HandleMessage(args);
    return;
  }
  switch (type) {
    case kEventInternalDoubleClick:
      if (read_only_)
        SetSelAll();
      else
        ForwardMouse(WM_LBUTTONDBLCLK, args);
      return;
    case kEventInternalSetFocus:
      InPlaceActivate();
      TxSendMessage(WM_SETFOCUS, 0, 0, nullptr);
      ShowCaret(true);
      focused_ = true;
      Invalidate();
      return;
    case kEventInternalKillFocus:
      InPlaceActivate();
      TxSendMessage(WM_KILLFOCUS, 0, 0, nullptr);
      ShowCaret(false);
      focused_ = false;
      first_click_done_ = false;
      if ((read_only_ && clear_sel_on_kill_focus_) || select_all_on_first_click_) SetSelNone();
      OnScreenKeyboardManager::GetInstance()->ShowOSK(false);
      Invalidate();
      return;
    case kEventKeyDown:
      OnKeyDown(args);
      return;
    case kEventChar:
      OnChar(args);
      return;
    case kEventMouseMove:
      ForwardMouse(WM_MOUSEMOVE, args);
      return;
    case kEventMouseButtonDown:
    case kEventPointDown: {
      std::wstring link;
      if (HitTestLink(args.ptMouse, &link)) {
        if (window_) window_->SendNotify(this, kEventCustomLinkClick);
        return;
      }
      if (type == kEventPointDown) OnScreenKeyboardManager::GetInstance()->ShowOSK(true);
      ForwardMouse(WM_LBUTTONDOWN, args);
      return;
    }
    case kEventMouseButtonUp:
    case kEventPointUp:
      if (!first_click_done_) {
        first_click_done_ = true;
        if (select_all_on_first_click_) {
          SetSelAll();
          if (style_ & ES_MULTILINE)
            HomeUp();
          else
            HomeLeft();
        }
      }
      ForwardMouse(WM_LBUTTONUP, args);
      return;
    case kEventMouseRightButtonDown:
      ForwardMouse(WM_RBUTTONDOWN, args);
      return;
    case kEventMouseRightButtonUp:
      ForwardMouse(WM_RBUTTONUP, args);
      return;
    case kEventMouseScrollWheel:
      if (!IsKeyDown(VK_CONTROL)) ScrollableBox::HandleMessage(args);
      return;
    case kEventSetCursor: {
      std::wstring link;
      if (HitTestLink(args.ptMouse, &link)) {
        ::SetCursor(LoadCursorW(nullptr, IDC_HAND));
      } else if (!host_ || !host_->DoSetCursor(args.ptMouse)) {
        ::SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      }
      return;
    }
    case kEventImeStartComposition:
      ImeStartComposition();
      return;
    case kEventImeEndComposition:
      composing_ = false;
      return;
    default:
      ScrollableBox::HandleMessage(args);
      return;
  }
}

bool RichEdit::IsPasteKey(WPARAM key) const {
  return (key == 'V' && IsKeyDown(VK_CONTROL)) || (key == VK_INSERT && IsKeyDown(VK_SHIFT));
}

void RichEdit::OnKeyDown(EventArgs& args) {
  if (args.chKey == VK_RETURN && !IsKeyDown(VK_SHIFT) && want_return_msg_ &&
      IsKeyDown(VK_CONTROL) == return_msg_want_ctrl_) {
    if (window_) window_->SendNotify(this, kEventReturn);
    return;
  }
  if (IsPasteKey(args.chKey)) {
    // The engine would take any length: Paste holds the maximum.
    Paste();
    return;
  }
  TxSendMessage(WM_KEYDOWN, args.chKey, args.lParam, nullptr);
}

void RichEdit::OnChar(EventArgs& args) {
  if (IsKeyDown(VK_TAB) && !want_tab_) {
    if (window_) window_->SendNotify(this, kEventTab);
    return;
  }
  if (number_only_ && (args.chKey < L'0' || args.chKey > L'9')) return;
  // A pair arrives as two characters: one that would not fit whole goes in not at all.
  const bool dropped_high = high_surrogate_dropped_;
  high_surrogate_dropped_ = false;
  if (IS_LOW_SURROGATE(args.chKey) && dropped_high) return;
  const bool inserts = args.chKey >= L' ' || args.chKey == L'\t' || args.chKey == L'\r';
  if (inserts && RoomForInsert() < (IS_HIGH_SURROGATE(args.chKey) ? 2 : 1)) {
    high_surrogate_dropped_ = IS_HIGH_SURROGATE(args.chKey);
    return;
  }
  TxSendMessage(WM_CHAR, args.chKey, args.lParam, nullptr);
}

void RichEdit::ImeStartComposition() {
  HWND hwnd = window_ ? window_->GetHWND() : nullptr;
  if (HIMC context = hwnd ? ImmGetContext(hwnd) : nullptr) {
    const SIZE offset = GetScrollOffset();
    COMPOSITIONFORM form = {};
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos.x = std::max<LONG>(1, caret_x_ - offset.cx);
    form.ptCurrentPos.y = std::max<LONG>(1, caret_y_ - offset.cy);
    ImmSetCompositionWindow(context, &form);
    ImmReleaseContext(hwnd, context);
  }
  composing_ = true;
}

std::wstring RichEdit::GetClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      const size_t limit = GlobalSize(data) / sizeof(wchar_t);
      size_t length = 0;
      while (length < limit && chars[length]) ++length;
      text.assign(chars, length);
      GlobalUnlock(data);
    }
  } else if (HANDLE ansi = GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(GlobalLock(ansi))) {
      MultiByteToWide(std::string(bytes, strnlen(bytes, GlobalSize(ansi))), text, CP_ACP);
      GlobalUnlock(ansi);
    }
  }
  CloseClipboard();
  return text;
}

bool RichEdit::SetClipboardText(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool stored = false;
  if (block) {
    auto* chars = static_cast<wchar_t*>(GlobalLock(block));
    memcpy(chars, text.c_str(), bytes);
    GlobalUnlock(block);
    stored = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!stored) GlobalFree(block);
  }
  CloseClipboard();
  return stored;
}

}  // namespace ui
