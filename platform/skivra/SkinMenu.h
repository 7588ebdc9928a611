// CSkinMenu: a pop-up menu built item by item and tracked at a point. A menu destroys the
// submenus inserted into it: keep a submenu's object until its menu's object is gone.
#pragma once

#include <windows.h>

#include <functional>

#include "mfc/AfxWnd.h"

class CSkinMenu {
 public:
  CSkinMenu() = default;
  ~CSkinMenu();
  CSkinMenu(const CSkinMenu&) = delete;
  CSkinMenu& operator=(const CSkinMenu&) = delete;

  BOOL CreateMenu();
  BOOL AppendMenuW(UINT id, const wchar_t* text, UINT flags);
  BOOL AppendSeparator();
  BOOL CheckMenuItem(UINT id, UINT check);
  HMENU GetSafeHMenu() const { return menu_; }
  // Adds the submenu at the end.
  BOOL InsertMenuW(HMENU submenu, const wchar_t* text, UINT position, UINT flags);
  // Shows the menu at the screen point; the chosen command goes to the owner as WM_COMMAND.
  BOOL TrackPopupMenu(int x, int y, CWnd* owner);

  // Tests: while set, TrackPopupMenu hands the menu to the hook instead of showing it;
  // the hook returns the command to send (0 for none).
  using TrackHook = std::function<UINT(HMENU menu)>;
  static void SetTrackHook(TrackHook hook);

 private:
  HMENU menu_ = nullptr;
};
