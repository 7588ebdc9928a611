// CMenu: a menu handle owned by the object.
#pragma once

#include <windows.h>

#include "mfc/AfxWnd.h"

class CMenu {
 public:
  CMenu() = default;
  ~CMenu() { DestroyMenu(); }
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  BOOL CreatePopupMenu();
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const wchar_t* text = nullptr) const;
  // Shows the menu at (x, y) in screen coordinates; commands go to the window.
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* window) const;
  BOOL DestroyMenu();
  HMENU GetSafeHmenu() const { return m_hMenu; }

  HMENU m_hMenu = nullptr;
};
