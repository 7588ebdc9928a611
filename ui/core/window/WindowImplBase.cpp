#include "window/WindowImplBase.h"

#include <algorithm>

#include "base/StringPrintf.h"
#include "builder/WindowBuilder.h"
#include "layout/Box.h"
#include "resources/GlobalManager.h"
#include "system/DpiManager.h"
#include "widgets/Button.h"
#include "widgets/edit/RichEdit.h"

namespace ui {
namespace {

bool IsButtonOrRichEdit(Control* control) {
  // Buttons and check boxes bind the click; a rich edit takes it to place the caret.
  return dynamic_cast<ButtonTemplate<Control>*>(control) ||
         dynamic_cast<ButtonTemplate<Box>*>(control) || dynamic_cast<RichEdit*>(control);
}

}  // namespace

LONG WindowImplBase::GetStyle() const { return GetWindowLongW(hwnd_, GWL_STYLE) & 0xFF3FFFFF; }

void WindowImplBase::OnFinalMessage(HWND hwnd) {
  Window::OnFinalMessage(hwnd);
  delete this;
}

void WindowImplBase::ReportSkinFailure(const std::wstring& skin_path) {
  wchar_t text[260];
  _snwprintf(text, 260, L"Failed to load xml file %s", skin_path.c_str());
  text[259] = 0;
  MessageBoxW(nullptr, text, L"SkinUI", MB_ICONERROR);
}

LRESULT WindowImplBase::OnCreate() {
  SetWindowLongW(hwnd_, GWL_STYLE, GetStyle());
  Init(hwnd_);
  // The builder reads the skin below the framework's resource path; images and other files
  // named by the skin are resolved against the window's folder, so it carries that path too.
  SetResourcePath(GetSkinFolder());
  const std::wstring skin_path = GetResourcePath() + GetSkinFile();
  SetResourcePath(GlobalManager::GetResourcePath() + GetResourcePath());
  // Drawn first of all: its decode starts before the skin's images.
  shadow_.PrefetchImage(GetResourcePath());
  WindowBuilder builder;
  Control* built = builder.Create(
      skin_path, MakeWeakCallback([this](const std::wstring& name) { return CreateControl(name); }),
      this);
  auto* box = dynamic_cast<Box*>(built);
  if (!box) {
    delete built;
    ReportSkinFailure(skin_path);
    return -1;
  }
  Box* root = shadow_.WrapRoot(box);
  AttachRoot(root);
  InitWindow();
  if (root->GetFixedWidth() == kSizeAuto || root->GetFixedHeight() == kSizeAuto) {
    const SIZE estimate = root->EstimateSize(SIZE{99999, 99999});
    int width = std::max<int>(estimate.cx, root->GetMinWidth());
    if (root->GetMaxWidth() >= 0) width = std::min(width, root->GetMaxWidth());
    int height = std::max<int>(estimate.cy, root->GetMinHeight());
    height = std::min(height, root->GetMaxHeight());
    MoveWindow(hwnd_, 0, 0, width, height, FALSE);
  }
  for (const wchar_t* name : {L"closebtn", L"minbtn", L"maxbtn", L"restorebtn"}) {
    if (Control* button = FindControlByName(name))
      button->AttachClick(MakeWeakCallback([this](EventArgs* args) { return OnButtonClick(args); }));
  }
  return 0;
}

bool WindowImplBase::OnButtonClick(EventArgs* args) {
  const std::wstring name = args->pSender->GetName();
  Control* max_button = FindControlByName(L"maxbtn");
  Control* restore_button = FindControlByName(L"restorebtn");
  if (name == L"closebtn") {
    Close(1);
  } else if (name == L"minbtn") {
    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else if (name == L"maxbtn") {
    if (max_button && restore_button) {
      max_button->SetFadeVisible(false);
      restore_button->SetFadeVisible(true);
    }
    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  } else if (name == L"restorebtn") {
    if (max_button && restore_button) {
      max_button->SetFadeVisible(true);
      restore_button->SetFadeVisible(false);
    }
    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_RESTORE, 0);
  }
  return true;
}

LRESULT WindowImplBase::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) return OnCreate();
  using Hook = LRESULT (WindowImplBase::*)(UINT, WPARAM, LPARAM, bool&);
  Hook hook = nullptr;
  switch (message) {
    case WM_DESTROY: hook = &WindowImplBase::OnDestroy; break;
    case WM_SIZE: hook = &WindowImplBase::OnSize; break;
    case WM_SETFOCUS: hook = &WindowImplBase::OnSetFocus; break;
    case WM_KILLFOCUS: hook = &WindowImplBase::OnKillFocus; break;
    case WM_CLOSE: hook = &WindowImplBase::OnClose; break;
    case WM_GETMINMAXINFO: hook = &WindowImplBase::OnGetMinMaxInfo; break;
    case WM_WINDOWPOSCHANGING: hook = &WindowImplBase::OnWindowPosChanging; break;
    case WM_NCCALCSIZE: hook = &WindowImplBase::OnNcCalcSize; break;
    case WM_NCHITTEST: hook = &WindowImplBase::OnNcHitTest; break;
    case WM_NCPAINT: hook = &WindowImplBase::OnNcPaint; break;
    case WM_NCACTIVATE: hook = &WindowImplBase::OnNcActivate; break;
    case WM_NCLBUTTONDBLCLK: hook = &WindowImplBase::OnNcLButtonDbClick; break;
    case WM_KEYDOWN: hook = &WindowImplBase::OnKeyDown; break;
    case WM_CHAR: hook = &WindowImplBase::OnChar; break;
    case WM_SYSCOMMAND: hook = &WindowImplBase::OnSysCommand; break;
    case WM_MOUSEMOVE: hook = &WindowImplBase::OnMouseMove; break;
    case WM_LBUTTONDOWN: hook = &WindowImplBase::OnLButtonDown; break;
    case WM_LBUTTONUP: hook = &WindowImplBase::OnLButtonUp; break;
    case WM_MOUSEWHEEL: hook = &WindowImplBase::OnMouseWheel; break;
    case WM_MOUSEHOVER: hook = &WindowImplBase::OnMouseHover; break;
    case WM_DPICHANGED: hook = &WindowImplBase::OnDpiChanged; break;
    default: break;
  }
  if (hook) {
    bool handled = true;
    const LRESULT result = (this->*hook)(message, wparam, lparam, handled);
    if (handled) return result;
  }
  bool handled = false;
  const LRESULT result = HandleWindowMessage(message, wparam, lparam, handled);
  if (handled) return result;
  return CallWindowProcW(old_proc_, hwnd_, message, wparam, lparam);
}

#define NOT_HANDLED(name)                                                   \
  LRESULT WindowImplBase::name(UINT, WPARAM, LPARAM, bool& handled) { \
    handled = false;                                                        \
    return 0;                                                               \
  }
NOT_HANDLED(OnClose)
NOT_HANDLED(OnDestroy)
NOT_HANDLED(OnMouseWheel)
NOT_HANDLED(OnMouseHover)
NOT_HANDLED(OnChar)
NOT_HANDLED(OnKeyDown)
NOT_HANDLED(OnKillFocus)
NOT_HANDLED(OnSetFocus)
NOT_HANDLED(OnLButtonDown)
NOT_HANDLED(OnLButtonUp)
NOT_HANDLED(OnMouseMove)
#undef NOT_HANDLED

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wparam, LPARAM, bool& handled) {
  handled = !IsIconic(hwnd_);
  return wparam == 0;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnNcLButtonDbClick(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnWindowPosChanging(UINT, WPARAM, LPARAM lparam, bool& handled) {
  handled = false;
  auto* pos = reinterpret_cast<WINDOWPOS*>(lparam);
  if (!IsMaximized() || !(pos->flags & SWP_FRAMECHANGED)) return 0;
  HMONITOR monitor = MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST);
  if (monitor == MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)) return 0;
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(monitor, &info);
  pos->x = info.rcWork.left;
  pos->y = info.rcWork.top;
  pos->cx = info.rcWork.right - info.rcWork.left;
  pos->cy = info.rcWork.bottom - info.rcWork.top;
  return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lparam, bool&) {
  POINT point = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  ScreenToClient(hwnd_, &point);
  RECT r;
  GetClientRect(hwnd_, &r);
  if (shadow_.IsAttached()) {
    const RECT padding = shadow_.GetPadding();
    r.left += padding.left;
    r.top += padding.top;
    r.right -= padding.right;
    r.bottom -= padding.bottom;
  }
  const LONG x = point.x, y = point.y;
  if (!IsMaximized()) {
    const RECT& s = size_box_;
    auto corner = [&](LRESULT left, LRESULT right, LRESULT middle) {
      if (x >= r.left && x < r.left + s.left) return left;
      if (x > r.right - s.right && x <= r.right) return right;
      return middle;
    };
    if (y < r.top + s.top) return y < r.top ? HTCLIENT : corner(HTTOPLEFT, HTTOPRIGHT, HTTOP);
    if (y > r.bottom - s.bottom)
      return y > r.bottom ? HTCLIENT : corner(HTBOTTOMLEFT, HTBOTTOMRIGHT, HTBOTTOM);
    if (x < r.left + s.left) return x < r.left ? HTCLIENT : HTLEFT;
    if (x > r.right - s.right) return x > r.right ? HTCLIENT : HTRIGHT;
  }
  const RECT& c = caption_;
  if (x >= r.left + c.left && x < r.right - c.right && y >= r.top + c.top && y < r.top + c.bottom) {
    Control* control = FindControl(point);
    if (control && !IsButtonOrRichEdit(control)) return HTCAPTION;
  }
  return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lparam, bool& handled) {
  handled = false;
  auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT work = monitor.rcWork;
  OffsetRect(&work, -monitor.rcMonitor.left, -monitor.rcMonitor.top);
  info->ptMaxPosition = POINT{work.left, work.top};
  info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
  const RECT padding = shadow_.IsAttached() ? shadow_.GetPadding() : RECT{0, 0, 0, 0};
  const LONG shadow_x = padding.left + padding.right, shadow_y = padding.top + padding.bottom;
  if (max_size_.cx != 0 && max_size_.cx != shadow_x) info->ptMaxTrackSize.x = max_size_.cx;
  if (max_size_.cy != 0 && max_size_.cy != shadow_y) info->ptMaxTrackSize.y = max_size_.cy;
  if (min_size_.cx != 0 && min_size_.cx != shadow_x) info->ptMinTrackSize.x = min_size_.cx;
  if (min_size_.cy != 0 && min_size_.cy != shadow_y) info->ptMinTrackSize.y = min_size_.cy;
  return 0;
}

LRESULT WindowImplBase::OnDpiChanged(UINT, WPARAM wparam, LPARAM, bool& handled) {
  handled = false;
  DpiManager::GetInstance()->OnDpiChanged(wparam);
  shadow_.ChangeDpiScale();
  return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  if ((round_corner_.cx != 0 || round_corner_.cy != 0) && !IsIconic(hwnd_)) {
    RECT rect;
    GetWindowRect(hwnd_, &rect);
    OffsetRect(&rect, -rect.left, -rect.top);
    SetWindowRgn(hwnd_,
                 CreateRoundRectRgn(0, 0, rect.right + 1, rect.bottom + 1, round_corner_.cx,
                                    round_corner_.cy),
                 TRUE);
  }
  return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
  if ((wparam & 0xFFF0) == SC_CLOSE) {
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    return 0;
  }
  bool dispatched = false;
  const LRESULT result = HandleWindowMessage(message, wparam, lparam, dispatched);
  if (dispatched) return result;
  return CallWindowProcW(old_proc_, hwnd_, message, wparam, lparam);
}

void WindowImplBase::ActiveWindow() {
  if (!IsWindow(hwnd_)) return;
  if (IsIconic(hwnd_)) {
    ::ShowWindow(hwnd_, SW_RESTORE);
    return;
  }
  if (!IsWindowVisible(hwnd_)) ::ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

}  // namespace ui
