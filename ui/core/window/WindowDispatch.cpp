// Windows messages turned into control events: capture, hover, focus, keys and Tab.
#include <windowsx.h>

#include <algorithm>
#include <iterator>

#include "control/Control.h"
#include "layout/Box.h"
#include "system/TouchInput.h"
#include "widgets/edit/RichEdit.h"
#include "window/Window.h"

namespace ui {
namespace {

POINT ClientPoint(LPARAM lparam) { return POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}; }

void Send(Control* control, int type, WPARAM wparam, LPARAM lparam, POINT point,
          wchar_t key = 0, float pressure = 0.0f) {
  if (control) control->SendEvent(type, wparam, lparam, key, point, pressure);
}

}  // namespace

Control* Window::OurControlAt(POINT point) const {
  Control* control = FindControl(point);
  return control && control->GetWindow() == this ? control : nullptr;
}

void Window::CaptureFor(Control* control, bool set_focus) {
  if (set_focus) control->SetFocus();
  SetCapture(hwnd_);
  mouse_captured_ = true;
}

void Window::EndCapture() {
  ReleaseCapture();
  mouse_captured_ = false;
}

LRESULT Window::HandleWindowMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
  handled = false;
  for (IUIMessageFilter* filter : std::vector<IUIMessageFilter*>(filters_)) {
    bool filtered = false;
    const LRESULT result = filter->MessageHandler(message, wparam, lparam, filtered);
    if (filtered && message != WM_MOUSEMOVE) {
      handled = true;
      return result;
    }
  }
  switch (message) {
    case WM_SIZE:
      if (focus_) Send(focus_, kEventWindowSize, wparam, lparam, last_mouse_);
      if (root_) root_->Arrange();
      // A new size repaints everything (the root may not have a position yet).
      if (root_) Invalidate(RECT{0, 0, 0x7FFF, 0x7FFF});
      if (shadow_.IsAttached() && (wparam == SIZE_MAXIMIZED || wparam == SIZE_RESTORED))
        shadow_.MaximizedOrRestored(wparam == SIZE_MAXIMIZED);
      handled = true;
      return 0;
    case WM_KILLFOCUS: {
      // This message carries no mouse point: the last one stays.
      Control* captured = pointer_ ? pointer_ : touch_ ? touch_ : click_;
      if (captured && captured->NeedsButtonUpOnKillFocus()) {
        EndCapture();
        Send(captured, kEventMouseButtonUp, wparam, lparam, last_mouse_);
        click_ = touch_ = pointer_ = nullptr;
      }
      return 0;
    }
    case WM_PAINT:
    case kLayeredPaintMessage:
      OnPaint();
      handled = true;
      return 0;
    case WM_CLOSE:
      if (hover_) Send(hover_, kEventMouseLeave, 0, 0, last_mouse_);
      // A held button ends without activation: the capture goes, no click follows.
      for (Control** held : {&click_, &touch_, &pointer_}) {
        if (!*held) continue;
        Control* control = *held;
        *held = nullptr;
        control->SetMouseFocused(false);
        control->SetState(kControlStateNormal);
      }
      if (mouse_captured_) EndCapture();
      SetFocusControl(nullptr);
      if (HWND owner = GetWindow(hwnd_, GW_OWNER)) ::SetFocus(owner);
      return 0;
    case WM_ERASEBKGND:
      handled = true;
      return 1;
    case WM_SETCURSOR: {
      if (LOWORD(lparam) != HTCLIENT) return 0;
      handled = true;
      if (IsCaptured()) return 0;
      POINT point;
      GetCursorPos(&point);
      ScreenToClient(hwnd_, &point);
      last_mouse_ = point;
      Control* control = FindControl(point);
      if (!control) {
        handled = false;
        return 0;
      }
      Send(control, kEventSetCursor, wparam, lparam, point);
      return 0;
    }
    case WM_NOTIFY: {
      handled = true;
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      if (!header) return 0;
      return SendMessageW(header->hwndFrom, message + 0x2000, wparam, lparam);
    }
    case WM_CONTEXTMENU: {
      POINT point = ClientPoint(lparam);
      ScreenToClient(hwnd_, &point);
      last_mouse_ = point;
      if (click_) {
        EndCapture();
        Control* control = click_;
        click_ = nullptr;
        Send(control, kEventInternalMenu, wparam, reinterpret_cast<LPARAM>(control), point);
      }
      return 0;
    }
    case WM_KEYDOWN:
      if (!focus_) return 0;
      if (wparam == VK_TAB) {
        // A rich edit that wants tab gets it as the WM_CHAR that follows.
        auto* edit = dynamic_cast<RichEdit*>(focus_);
        const bool edit_takes_tab =
            edit && edit->IsVisible() && edit->IsEnabled() && edit->IsWantTab();
        if (!edit_takes_tab) SetNextTabControl(GetKeyState(VK_SHIFT) >= 0);
        return 0;
      }
      key_ = focus_;
      Send(key_, kEventKeyDown, wparam, lparam, last_mouse_, static_cast<wchar_t>(wparam));
      return 0;
    case WM_KEYUP:
      if (key_) {
        Control* control = key_;
        key_ = nullptr;
        Send(control, kEventKeyUp, wparam, lparam, last_mouse_, static_cast<wchar_t>(wparam));
      }
      return 0;
    case WM_CHAR:
      Send(focus_, kEventChar, wparam, lparam, last_mouse_, static_cast<wchar_t>(wparam));
      return 0;
    case WM_IME_STARTCOMPOSITION:
      Send(focus_, kEventImeStartComposition, wparam, lparam, last_mouse_);
      return 0;
    case WM_IME_ENDCOMPOSITION:
      Send(focus_, kEventImeEndComposition, wparam, lparam, last_mouse_);
      return 0;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (!lparam) return 0;
      handled = true;
      return SendMessageW(reinterpret_cast<HWND>(lparam), message + 0x2000, wparam, lparam);
    case WM_MOUSEMOVE: {
      if (touch_ || pointer_) return 0;
      if (!mouse_tracking_) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, hwnd_, 400};
        if (tooltip_)
          track.dwHoverTime = static_cast<DWORD>(SendMessageW(tooltip_, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
        _TrackMouseEvent(&track);
        mouse_tracking_ = true;
      }
      const POINT point = ClientPoint(lparam);
      last_mouse_ = point;
      if (!HandleMouseEnterLeave(point, wparam, lparam)) return 0;
      Send(click_ ? click_ : hover_candidate_, kEventMouseMove, wparam, lparam, point);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
      if (touch_ || pointer_) return 0;
      ::SetFocus(hwnd_);
      const POINT point = ClientPoint(lparam);
      last_mouse_ = point;
      Control* control = OurControlAt(point);
      if (!control) return 0;
      click_ = control;
      CaptureFor(control, message != WM_LBUTTONDBLCLK);
      const int type = message == WM_LBUTTONDOWN   ? kEventMouseButtonDown
                       : message == WM_RBUTTONDOWN ? kEventMouseRightButtonDown
                                                   : kEventInternalDoubleClick;
      Send(control, type, wparam, lparam, point);
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      const POINT point = ClientPoint(lparam);
      last_mouse_ = point;
      EndCapture();
      Control* control = click_;
      if (message == WM_LBUTTONUP) click_ = nullptr;
      Send(control, message == WM_LBUTTONUP ? kEventMouseButtonUp : kEventMouseRightButtonUp,
           wparam, lparam, point);
      return 0;
    }
    case WM_MOUSEWHEEL: {
      POINT point = ClientPoint(lparam);
      ScreenToClient(hwnd_, &point);
      last_mouse_ = point;
      Send(OurControlAt(point), kEventMouseScrollWheel,
           static_cast<WPARAM>(static_cast<INT_PTR>(GET_WHEEL_DELTA_WPARAM(wparam))), lparam,
           point);
      return 0;
    }
    case WM_TOUCH:
      OnTouch(wparam, lparam);
      return 0;
    case WM_POINTERUPDATE:
    case WM_POINTERDOWN:
    case WM_POINTERUP:
    case WM_POINTERLEAVE:
    case WM_POINTERCAPTURECHANGED:
      return OnPointer(message, wparam, lparam, handled);
    case WM_MOUSEHOVER: {
      mouse_tracking_ = false;
      const POINT point = ClientPoint(lparam);
      Control* control = FindControl(point);
      if (!control) return 0;
      if (hover_) Send(hover_, kEventMouseHover, wparam, lparam, point);
      ShowToolTip(control);
      handled = true;
      return 0;
    }
    case WM_MOUSELEAVE:
      if (tooltip_) SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool_info_));
      // Hover ends on every leave, armed tracking or not.
      mouse_tracking_ = false;
      if (hover_) {
        Control* control = hover_;
        hover_ = nullptr;
        Send(control, kEventMouseLeave, wparam, lparam, last_mouse_);
      }
      hover_candidate_ = nullptr;
      return 0;
    case kDelayedCleanupMessage:
      DeleteDelayed();
      return 0;
    default:
      return 0;
  }
}

bool Window::HandleMouseEnterLeave(POINT point, WPARAM wparam, LPARAM lparam) {
  Control* candidate = FindControl(point);
  hover_candidate_ = candidate;
  if (candidate && candidate->GetWindow() != this) return false;
  if (hover_ != candidate && hover_) {
    Control* old = hover_;
    hover_ = nullptr;
    if (tooltip_) SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool_info_));
    Send(old, kEventMouseLeave, wparam, lparam, point);
  }
  if (candidate && candidate != hover_) {
    hover_ = candidate;
    Send(candidate, kEventMouseEnter, wparam, lparam, point);
  }
  return true;
}

void Window::SetFocusControl(Control* control) {
  if (hwnd_ && GetFocus() != hwnd_ && control && control != focus_) ::SetFocus(hwnd_);
  if (control == focus_) return;
  if (Control* old = focus_) {
    Send(old, kEventInternalKillFocus, 0, 0, last_mouse_);
    focus_ = nullptr;
    SendNotify(old, kEventKillFocus);
  }
  if (!control || control->GetWindow() != this || !control->IsVisible() || !control->IsEnabled())
    return;
  focus_ = control;
  Send(control, kEventInternalSetFocus, 0, 0, last_mouse_);
  if (focus_) SendNotify(focus_, kEventSetFocus);
}

bool Window::SetNextTabControl(bool forward) {
  if (arrange_needed_ && forward) {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
    return true;
  }
  if (!root_) return false;
  // The walk lists containers before their children; the focus control marks the place.
  std::vector<Control*> walk;
  root_->FindControl(
      [&walk](Control* control, void*) -> Control* {
        walk.push_back(control);
        return nullptr;
      },
      nullptr, kFindVisible | kFindEnabled | kFindMeFirst);
  auto is_stop = [this](Control* control) { return control != focus_ && control->AcceptsTabFocus(); };
  auto first = std::find_if(walk.begin(), walk.end(), is_stop);
  if (first == walk.end()) return true;
  auto at = std::find(walk.begin(), walk.end(), focus_);
  Control* target = *first;
  if (focus_ && at != walk.end()) {
    if (forward) {
      auto next = std::find_if(at + 1, walk.end(), is_stop);
      target = next != walk.end() ? *next : *first;
    } else {
      auto before = std::find_if(std::make_reverse_iterator(at), walk.rend(), is_stop);
      target = before != walk.rend() ? *before : *std::find_if(walk.rbegin(), walk.rend(), is_stop);
    }
  }
  SetFocusControl(target);
  return true;
}

void Window::ShowToolTip(Control* control) {
  const std::wstring text = control->GetToolTipText();
  tool_info_ = {};
  tool_info_.cbSize = sizeof(TOOLINFOW);
  tool_info_.uFlags = TTF_IDISHWND;
  tool_info_.hwnd = hwnd_;
  tool_info_.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  tool_info_.hinst = GetModuleHandleW(nullptr);
  tool_info_.lpszText = const_cast<LPWSTR>(text.c_str());
  tool_info_.rect = control->GetPos(true);
  if (!tooltip_) {
    // comctl32 loads here, at the first tooltip, rather than before the first frame.
    InitCommonControls();
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool_info_));
  }
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, control->GetToolTipWidth());
  SendMessageW(tooltip_, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool_info_));
  SendMessageW(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool_info_));
  tool_info_.lpszText = nullptr;
}

void Window::OnTouch(WPARAM wparam, LPARAM lparam) {
  const UINT count = LOWORD(wparam);
  auto handle = reinterpret_cast<HTOUCHINPUT>(lparam);
  if (count == 0) return;
  std::vector<TOUCHINPUT> inputs(count);
  if (GetTouchInputInfoWrapper(handle, count, inputs.data()) && inputs[0].dwID != 0) {
    const TOUCHINPUT& input = inputs[0];
    POINT point = {input.x / 100, input.y / 100};
    ScreenToClient(hwnd_, &point);
    if (input.dwFlags & TOUCHEVENTF_DOWN) {
      if (!click_ && !pointer_) {
        ::SetFocus(hwnd_);
        last_touch_ = point;
        if (Control* control = OurControlAt(point)) {
          touch_ = control;
          CaptureFor(control, true);
          Send(control, kEventTouchDown, 0, lparam, point);
        }
      }
    } else if (input.dwFlags & TOUCHEVENTF_MOVE) {
      if (!click_ && !pointer_ && (point.x != last_touch_.x || point.y != last_touch_.y)) {
        last_touch_ = point;
        if (touch_ && HandleMouseEnterLeave(point, wparam, lparam))
          Send(touch_, kEventTouchMove, 0, 0, point);
      }
    } else if (input.dwFlags & TOUCHEVENTF_UP) {
      last_touch_ = point;
      EndCapture();
      Control* control = touch_;
      touch_ = nullptr;
      Send(control, kEventTouchUp, 0, lparam, point);
    }
  }
  CloseTouchInputHandleWrapper(handle);
}

LRESULT Window::OnPointer(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
  if (!(HIWORD(wparam) & (POINTER_MESSAGE_FLAG_PRIMARY >> 16))) {
    handled = true;
    return 0;
  }
  const UINT32 id = LOWORD(wparam);
  POINTER_INPUT_TYPE type = PT_POINTER;
  if (!GetPointerTypeWrapper(id, &type)) return 0;
  POINT point;
  float pressure = 0;
  if (type == PT_TOUCH) {
    POINTER_TOUCH_INFO info = {};
    if (!GetPointerTouchInfoWrapper(id, &info)) return 0;
    point = info.pointerInfo.ptPixelLocation;
    pressure = info.pressure * (1.0f / 1024);
  } else if (type == PT_PEN) {
    POINTER_PEN_INFO info = {};
    if (!GetPointerPenInfoWrapper(id, &info)) return 0;
    point = info.pointerInfo.ptPixelLocation;
    pressure = info.pressure * (1.0f / 1024);
  } else {
    return 0;
  }
  ScreenToClient(hwnd_, &point);
  if (message == WM_POINTERUPDATE) {
    if (click_ || touch_) {
      handled = true;
      return 0;
    }
    last_mouse_ = point;
    if (pointer_ && HandleMouseEnterLeave(point, wparam, lparam))
      Send(pointer_, kEventPointMove, wparam, lparam, point, 0, pressure);
  } else if (message == WM_POINTERDOWN) {
    if (click_ || touch_) {
      handled = true;
      return 0;
    }
    ::SetFocus(hwnd_);
    last_mouse_ = point;
    Control* control = OurControlAt(point);
    if (!control) return 0;
    pointer_ = control;
    CaptureFor(control, true);
    Send(control, kEventPointDown, wparam, lparam, point, 0, pressure);
  } else {
    last_mouse_ = point;
    EndCapture();
    Control* control = pointer_;
    pointer_ = nullptr;
    Send(control, kEventPointUp, wparam, lparam, point, 0, pressure);
    handled = control && control->IsReceivePointer();
    return 0;
  }
  handled = pointer_ && pointer_->IsReceivePointer();
  return 0;
}

}  // namespace ui
