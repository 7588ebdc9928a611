#include "window/Window.h"

#include "control/Control.h"
#include "control/AnimationManager.h"
#include "layout/Box.h"
#include "render/RenderInterfaces.h"
#include "resources/GlobalManager.h"
#include "resources/LanguageTable.h"
#include "system/DpiManager.h"
#include "system/TouchInput.h"
#include "system/WindowsVersion.h"
#include "timing/TimerManager.h"

namespace ui {
namespace {

constexpr wchar_t kWindowProperty[] = L"WndX";

}  // namespace

Window::Window() {
  LOGFONTW font = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  font.lfCharSet = DEFAULT_CHARSET;
  const std::wstring face = GlobalManager::GetDefaultFontName();
  if (!face.empty()) wcsncpy_s(font.lfFaceName, face.c_str(), _TRUNCATE);
  default_font_ = CreateFontIndirectW(&font);
}

Window::~Window() {
  close_timer_.Cancel();
  ReleaseWeakFlag();
  DeleteDelayed();
  // The tree's controls must not reach back into a half-destroyed window.
  Box* root = root_;
  root_ = nullptr;
  focus_ = hover_candidate_ = hover_ = click_ = key_ = touch_ = pointer_ = nullptr;
  delete root;
  if (default_font_) DeleteObject(default_font_);
  if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
  if (paint_dc_) ReleaseDC(hwnd_, paint_dc_);
}

bool Window::RegisterWindowClass() {
  WNDCLASSW wc = {};
  wc.style = GetClassStyle();
  wc.lpfnWndProc = WindowProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hInstance = GetModuleHandleW(nullptr);
  const std::wstring name = GetWindowClassName();
  wc.lpszClassName = name.c_str();
  return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool Window::RegisterSuperClass() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  const std::wstring super = GetSuperClassName();
  if (!GetClassInfoExW(nullptr, super.c_str(), &wc) &&
      !GetClassInfoExW(GetModuleHandleW(nullptr), super.c_str(), &wc))
    return false;
  old_proc_ = wc.lpfnWndProc;
  wc.lpfnWndProc = SuperClassWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  const std::wstring name = GetWindowClassName();
  wc.lpszClassName = name.c_str();
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND Window::Create(HWND parent, const wchar_t* name, DWORD style, DWORD ex_style, bool layered,
                    const RECT& rect) {
  const bool registered = GetSuperClassName().empty() ? RegisterWindowClass() : RegisterSuperClass();
  if (!registered) return nullptr;
  layered_ = layered;
  const std::wstring class_name = GetWindowClassName();
  HWND hwnd = CreateWindowExW(layered ? ex_style | WS_EX_LAYERED : ex_style, class_name.c_str(),
                              name, style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr),
                              this);
  // A failed creation may have deleted this object already (its final message ran): only
  // the local handle may be used from here on.
  if (!hwnd) return nullptr;
  const LONG created_style = GetWindowLongW(hwnd, GWL_STYLE);
  if (created_style & WS_CAPTION) SetWindowLongW(hwnd, GWL_STYLE, created_style & 0xFF3FFFFF);
  return hwnd;
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* window = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    window = static_cast<Window*>(create->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  } else {
    window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY && window) {
      const LRESULT result = CallWindowProcW(window->old_proc_, hwnd, message, wparam, lparam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      if (window->subclassed_) window->Unsubclass();
      window->OnFinalMessage(hwnd);
      return result;
    }
  }
  return window ? window->HandleMessage(message, wparam, lparam)
                : DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK Window::SuperClassWindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
  Window* window = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    window = static_cast<Window*>(create->lpCreateParams);
    window->hwnd_ = hwnd;
    SetPropW(hwnd, kWindowProperty, window);
  } else {
    window = static_cast<Window*>(GetPropW(hwnd, kWindowProperty));
    if (message == WM_NCDESTROY && window) {
      const LRESULT result = CallWindowProcW(window->old_proc_, hwnd, message, wparam, lparam);
      if (window->subclassed_) window->Unsubclass();
      SetPropW(hwnd, kWindowProperty, nullptr);
      window->hwnd_ = nullptr;
      window->OnFinalMessage(hwnd);
      return result;
    }
  }
  return window ? window->HandleMessage(message, wparam, lparam)
                : DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  bool handled = false;
  const LRESULT result = HandleWindowMessage(message, wparam, lparam, handled);
  if (handled) return result;
  return CallWindowProcW(old_proc_, hwnd_, message, wparam, lparam);
}

void Window::Init(HWND hwnd) {
  hwnd_ = hwnd;
  paint_dc_ = GetDC(hwnd);
  GlobalManager::CreateRenderContext(render_context_);
  RegisterTouchWindowWrapper(hwnd);
}

void Window::ShowWindow(bool show, bool take_focus) {
  if (!IsWindow(hwnd_)) return;
  ::ShowWindow(hwnd_, show ? (take_focus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

void Window::Close(UINT code) {
  if (!IsWindow(hwnd_)) return;
  if (!root_ || !IsWindowsVersionAtLeast(6, 0)) {
    PostMessageW(hwnd_, WM_CLOSE, code, 0);
    return;
  }
  static_cast<Control*>(root_)->SetFadeVisible(false);
  HWND hwnd = hwnd_;
  TimerManager::GetInstance()->AddTimer(
      close_timer_.GetWeakFlag(), [hwnd, code] { PostMessageW(hwnd, WM_CLOSE, code, 0); }, 300, 1);
}

void Window::PlayShowAnimation() {
  if (!root_ || !IsWindowsVersionAtLeast(6, 0)) return;
  Control* root = static_cast<Control*>(root_);
  AnimationPlayer* player = root->GetAnimationManager().ResetFadeAlpha();
  root->SetAlpha(0);
  window_alpha_ = 0;
  player->SetCallback(MakeWeakCallback([this](int value) { ApplyFadeAlpha(value); }));
  root->SetFadeVisible(true);
}

void Window::OnFinalMessage(HWND hwnd) {
  UnregisterTouchWindowWrapper(hwnd);
  for (int type : {static_cast<int>(kEventWindowClose), static_cast<int>(kEventAll)}) {
    auto found = listeners_.find(type);
    if (found == listeners_.end()) continue;
    EventArgs args;
    args.Type = kEventWindowClose;
    args.dwTimestamp = GetTickCount();
    args.ptMouse = last_mouse_;
    for (const EventCallback& handler : EventHandlerList(found->second))
      if (!handler(&args)) break;
  }
}

bool Window::AttachRoot(Box* root) {
  SetFocusControl(nullptr);
  key_ = hover_candidate_ = hover_ = click_ = touch_ = pointer_ = nullptr;
  if (root_) AddDelayedCleanup(static_cast<Control*>(root_));
  root_ = root;
  arrange_needed_ = true;
  show_animation_pending_ = true;
  if (!root) return false;
  // The first paint lays the new tree out.
  if (hwnd_) Invalidate(RECT{0, 0, 0x7FFF, 0x7FFF});
  Control* control = static_cast<Control*>(root);
  OptionGroupBatch groups(&option_groups_);
  control->SetWindow(this, nullptr, true);
  RegisterNames(control);
  return true;
}

bool Window::InitControls(Control* control, Box* parent) {
  if (!control) return false;
  OptionGroupBatch groups(&option_groups_);
  control->SetWindow(this, parent ? parent : control->GetParent(), true);
  RegisterNames(control);
  return true;
}

void Window::RegisterNames(Control* control) {
  control->FindControl(
      [this](Control* found, void*) -> Control* {
        if (!found->GetName().empty()) names_.Register(found->GetName(), found);
        return nullptr;
      },
      nullptr, 0);
}

void Window::ReapObjects(Control* control) {
  for (Control** field : {&focus_, &hover_candidate_, &hover_, &click_, &key_, &touch_, &pointer_})
    if (*field == control) *field = nullptr;
  // Only entries that point at this control go: a live control of the same name stays
  // findable, and a renamed control leaves nothing behind.
  names_.Forget(control);
}

void Window::AddDelayedCleanup(Control* control) {
  control->SetWindow(this, nullptr, false);
  delayed_cleanup_.push_back(control);
  if (hwnd_) PostMessageW(hwnd_, kDelayedCleanupMessage, 0, 0);
}

void Window::DeleteDelayed() {
  std::vector<Control*> controls;
  controls.swap(delayed_cleanup_);
  for (Control* control : controls) delete control;
}

Control* Window::FindControl(POINT point) const {
  for (const ControlFinder& finder : finders_)
    if (Control* found = finder(point)) return found;
  if (!root_) return nullptr;
  return static_cast<Control*>(root_)->FindControl(
      [](Control* control, void* data) -> Control* {
        const RECT pos = control->GetPos(true);
        return PtInRect(&pos, *static_cast<POINT*>(data)) ? control : nullptr;
      },
      &point, kFindVisible | kFindHitTest | kFindTopFirst);
}

Control* Window::FindControlByName(const std::wstring& name) const {
  return names_.Find(name);
}

bool Window::SendNotify(Control* control, int type, WPARAM wparam, LPARAM lparam) {
  EventArgs args;
  args.Type = type;
  args.pSender = control;
  args.dwTimestamp = GetTickCount();
  args.ptMouse = last_mouse_;
  args.wParam = wparam;
  args.lParam = lparam;
  control->HandleMessageTemplate(args);
  return true;
}

void Window::SetResourcePath(const std::wstring& path) {
  resource_path_ = path;
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') resource_path_ += L'\\';
}

std::wstring Window::GetClassAttributes(const std::wstring& name) const {
  auto found = classes_.find(name);
  return found == classes_.end() ? std::wstring() : found->second;
}

void Window::SetText(const std::wstring& text_id) {
  SetWindowTextW(hwnd_, LanguageTable::GetInstance()->GetStringViaID(text_id).c_str());
}

namespace {

SIZE ScaledLimit(int cx, int cy, const Shadow& shadow) {
  SIZE size = {DpiManager::GetInstance()->ScaleInt(cx), DpiManager::GetInstance()->ScaleInt(cy)};
  if (shadow.IsAttached()) {
    const RECT padding = shadow.GetPadding();
    if (size.cx != 0) size.cx += padding.left + padding.right;
    if (size.cy != 0) size.cy += padding.top + padding.bottom;
  }
  return size;
}

}  // namespace

void Window::SetMinInfo(int cx, int cy) { min_size_ = ScaledLimit(cx, cy, shadow_); }

void Window::SetMaxInfo(int cx, int cy) { max_size_ = ScaledLimit(cx, cy, shadow_); }

void Window::SetInitSize(int cx, int cy, bool scale) {
  if (scale) {
    cx = DpiManager::GetInstance()->ScaleInt(cx);
    cy = DpiManager::GetInstance()->ScaleInt(cy);
  }
  if (shadow_.IsAttached()) {
    const RECT padding = shadow_.GetPadding();
    cx += padding.left + padding.right;
    cy += padding.top + padding.bottom;
  }
  init_size_ = SIZE{cx, cy};
  if (!root_ && hwnd_)
    SetWindowPos(hwnd_, nullptr, 0, 0, cx, cy, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

void Window::CenterWindow() {
  RECT window_rect;
  GetWindowRect(hwnd_, &window_rect);
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(owner ? owner : hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  RECT center = work;
  if (owner && !IsIconic(owner)) GetWindowRect(owner, &center);
  const int width = window_rect.right - window_rect.left;
  const int height = window_rect.bottom - window_rect.top;
  int x = (center.left + center.right) / 2 - width / 2;
  int y = (center.top + center.bottom) / 2 - height / 2;
  if (x < work.left)
    x = work.left;
  else if (x + width > work.right)
    x = work.right - width;
  if (y < work.top)
    y = work.top;
  else if (y + height > work.bottom)
    y = work.bottom - height;
  SetWindowPos(hwnd_, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::Unsubclass() {
  if (!IsWindow(hwnd_) || !subclassed_) return;
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_proc_));
  old_proc_ = DefWindowProcW;
  subclassed_ = false;
}

void Window::Invalidate(const RECT& rect) {
  if (!hwnd_ || IsRectEmpty(&rect)) return;
  const bool pending = !IsRectEmpty(&dirty_);
  UnionRect(&dirty_, &dirty_, &rect);
  if (pending) return;
  InvalidateRect(hwnd_, &rect, FALSE);
  if (layered_) PostMessageW(hwnd_, kLayeredPaintMessage, 0, 0);
}

}  // namespace ui
