#include "mfc/AfxWnd.h"

namespace {

CPoint PointOf(LPARAM lParam) {
  return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

const wchar_t kWndProperty[] = L"Orvane.CWnd";

thread_local CWnd* t_pendingWnd = nullptr;

}  // namespace

CWnd::~CWnd() { UnsubclassWindow(); }

CWnd* CWnd::FromHandlePermanent(HWND window) {
  return window ? static_cast<CWnd*>(GetPropW(window, kWndProperty)) : nullptr;
}

BOOL CWnd::SubclassWindow(HWND window) {
  if (m_hWnd != nullptr || !IsWindow(window) || FromHandlePermanent(window) != nullptr) {
    return FALSE;
  }
  if (!SetPropW(window, kWndProperty, this)) return FALSE;
  m_hWnd = window;
  PreSubclassWindow();
  m_pfnSuper = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StandardWindowProc)));
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (parent == nullptr) return FALSE;
  return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
  HWND window = m_hWnd;
  if (window == nullptr) return nullptr;
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  Detach();
  return window;
}

void CWnd::Detach() {
  RemovePropW(m_hWnd, kWndProperty);
  m_hWnd = nullptr;
  m_pfnSuper = nullptr;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

LRESULT CALLBACK CWnd::StandardWindowProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
  CWnd* wnd = FromHandlePermanent(window);
  if (wnd == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);

  const MessageCall outer = wnd->m_current;
  wnd->m_current = {message, wParam, lParam};
  const LRESULT result = wnd->WindowProc(message, wParam, lParam);
  wnd->m_current = outer;
  if (message == WM_NCDESTROY && wnd->m_hWnd == window) {
    wnd->UnsubclassWindow();
    wnd->PostNcDestroy();
  }
  return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(reinterpret_cast<LPCREATESTRUCTW>(lParam));
    case WM_COMMAND:
      if (OnCommand(wParam, lParam)) return 0;
      break;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_RBUTTONDOWN:
      OnRButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
  }
  return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

int CWnd::OnCreate(LPCREATESTRUCTW) { return static_cast<int>(Default()); }
BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnDestroy() { Default(); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }

BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }

BOOL CWnd::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) const {
  return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
}

void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }

void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }

void CWnd::SetWindowText(const wchar_t* text) const { ::SetWindowTextW(m_hWnd, text); }

void CWnd::GetWindowText(CString& text) const {
  const int length = GetWindowTextLength();
  ::GetWindowTextW(m_hWnd, text.GetBuffer(length + 1), length + 1);
  text.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }

DWORD CWnd::GetStyle() const { return static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }

DWORD CWnd::GetExStyle() const {
  return static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
}

namespace {

BOOL ModifyWindowLong(HWND window, int index, DWORD remove, DWORD add, UINT flags) {
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, index));
  const DWORD changed = (style & ~remove) | add;
  if (style == changed) return FALSE;
  SetWindowLongPtrW(window, index, changed);
  if (flags != 0) {
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
  }
  return TRUE;
}

}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) const {
  return ModifyWindowLong(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) const {
  return ModifyWindowLong(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

HWND CWnd::GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs) const {
  return ::SetTimer(m_hWnd, id, elapseMs, nullptr);
}

BOOL CWnd::KillTimer(UINT_PTR id) const { return ::KillTimer(m_hWnd, id); }

void CWnd::Invalidate(BOOL erase) const { ::InvalidateRect(m_hWnd, nullptr, erase); }

BOOL CWnd::EnableWindow(BOOL enable) const { return ::EnableWindow(m_hWnd, enable); }

BOOL CWnd::SetForegroundWindow() const { return ::SetForegroundWindow(m_hWnd); }

BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }

CWndCreationHook::CWndCreationHook(CWnd* wnd)
    : hook_(SetWindowsHookExW(WH_CBT, &CWndCreationHook::HookProc, nullptr,
                              GetCurrentThreadId())),
      previous_(t_pendingWnd) {
  t_pendingWnd = wnd;
}

CWndCreationHook::~CWndCreationHook() {
  t_pendingWnd = previous_;
  if (hook_) UnhookWindowsHookEx(hook_);
}

LRESULT CALLBACK CWndCreationHook::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && t_pendingWnd != nullptr) {
    CWnd* wnd = t_pendingWnd;
    t_pendingWnd = nullptr;
    wnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
