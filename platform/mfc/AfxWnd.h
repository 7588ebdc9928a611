// CWnd: a window object bound to an HWND by subclassing; messages reach WindowProc and the
// virtual handlers, and whatever a handler leaves goes to the window's previous procedure.
#pragma once

#include <windows.h>

#include "mfc/AfxString.h"
#include "mfc/AfxTypes.h"

class CWnd {
 public:
  CWnd() = default;
  // Gives the window back to its previous procedure when it still exists.
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // The CWnd bound to the window, or null.
  static CWnd* FromHandlePermanent(HWND window);

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return GetSafeHwnd(); }

  // Binds this object to an existing window; FALSE when either is bound already.
  BOOL SubclassWindow(HWND window);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();
  BOOL DestroyWindow();

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL ShowWindow(int command) const;
  BOOL IsWindowVisible() const;
  BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) const;
  void GetClientRect(LPRECT rect) const;
  void GetWindowRect(LPRECT rect) const;
  void SetWindowText(const wchar_t* text) const;
  void GetWindowText(CString& text) const;
  int GetWindowTextLength() const;
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0) const;
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0) const;
  HWND GetDlgItem(int id) const;
  void ClientToScreen(LPPOINT point) const;
  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs) const;
  BOOL KillTimer(UINT_PTR id) const;
  void Invalidate(BOOL erase = TRUE) const;
  BOOL EnableWindow(BOOL enable = TRUE) const;
  BOOL SetForegroundWindow() const;
  BOOL IsIconic() const;

  HWND m_hWnd = nullptr;

 protected:
  // Dispatches to the handlers below; messages they leave go to DefWindowProc.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The window's previous procedure.
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // DefWindowProc with the message being handled.
  LRESULT Default();

  // Called before the window is subclassed.
  virtual void PreSubclassWindow() {}
  // Called after the last message (WM_NCDESTROY), when the object is unbound.
  virtual void PostNcDestroy() {}

  virtual int OnCreate(LPCREATESTRUCTW create);
  // TRUE when the command was handled.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual void OnSize(UINT type, int cx, int cy);
  virtual void OnRButtonDown(UINT flags, CPoint point);
  virtual void OnDestroy();

 private:
  struct MessageCall {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };

  static LRESULT CALLBACK StandardWindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);
  void Detach();

  WNDPROC m_pfnSuper = nullptr;
  MessageCall m_current{};
};

// Subclasses the first window created on this thread while it lives: the window then sees
// its creation messages (WM_NCCREATE, WM_CREATE) in the CWnd.
class CWndCreationHook {
 public:
  explicit CWndCreationHook(CWnd* wnd);
  ~CWndCreationHook();
  CWndCreationHook(const CWndCreationHook&) = delete;
  CWndCreationHook& operator=(const CWndCreationHook&) = delete;

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);

  HHOOK hook_;
  CWnd* previous_;
};
