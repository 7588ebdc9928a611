#include "mfc/AfxMenu.h"

BOOL CMenu::CreatePopupMenu() {
  if (m_hMenu != nullptr) return FALSE;
  m_hMenu = ::CreatePopupMenu();
  return m_hMenu != nullptr;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const wchar_t* text) const {
  return ::AppendMenuW(m_hMenu, flags, id, text);
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* window) const {
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, window->GetSafeHwnd(), nullptr);
}

BOOL CMenu::DestroyMenu() {
  if (m_hMenu == nullptr) return FALSE;
  const BOOL destroyed = ::DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
  return destroyed;
}
