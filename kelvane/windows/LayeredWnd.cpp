#include "LayeredWnd.h"

#include "StatusIconImage.h"

namespace {

// At most this many characters of the window text are read.
constexpr int kTextLimit = 6;

}  // namespace

BOOL CLayeredWnd::Create(CWnd* owner) {
  if (owner == nullptr || owner->m_hWnd == nullptr) return FALSE;
  m_pOwner = owner;
  if (m_hWnd != nullptr) return TRUE;
  HWND window = ::CreateWindowExW(WS_EX_LAYERED, L"STATIC", L"", 0, 0, 0, 0, 0, owner->m_hWnd,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return FALSE;
  if (!SubclassWindow(window)) {
    ::DestroyWindow(window);
    return FALSE;
  }
  return TRUE;
}

void CLayeredWnd::SetImage(HINSTANCE module, const wchar_t* name) {
  m_hImageModule = module;
  m_strImageName = name ? name : L"";
}

BOOL CLayeredWnd::Redraw() {
  if (m_hWnd == nullptr) return FALSE;
  wchar_t text[kTextLimit + 1] = L"";
  ::GetWindowTextW(m_hWnd, text, kTextLimit + 1);

  SIZE size{};
  HBITMAP image = RenderStatusIcon(m_hImageModule, m_strImageName.c_str(), text, &size);
  if (image == nullptr) return FALSE;

  // The panel keeps the focus: the status icon never activates.
  SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowRgn(m_hWnd, ::CreateRectRgn(0, 0, size.cx, size.cy), TRUE);

  HDC target = ::GetDC(m_hWnd);
  HDC source = ::CreateCompatibleDC(target);
  HGDIOBJ previous = ::SelectObject(source, image);
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, m_nAlpha, AC_SRC_ALPHA};
  const BOOL updated =
      ::UpdateLayeredWindow(m_hWnd, target, nullptr, &size, source, &origin, 0, &blend, ULW_ALPHA);
  ::SelectObject(source, previous);
  ::DeleteDC(source);
  ::ReleaseDC(m_hWnd, target);
  ::DeleteObject(image);
  return updated;
}

LRESULT CLayeredWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      if (m_pOwner != nullptr) m_pOwner->PostMessage(WM_CLOSE);
      return 0;
    case WM_SETFOCUS:
      if (m_pOwner != nullptr) ::SetFocus(m_pOwner->m_hWnd);
      return Default();
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
