#include "skivra/SkinMenu.h"

namespace {

CSkinMenu::TrackHook& Hook() {
  static CSkinMenu::TrackHook hook;
  return hook;
}

}  // namespace

CSkinMenu::~CSkinMenu() {
  // Gone already when the menu it was inserted into was destroyed first.
  if (menu_ && IsMenu(menu_)) DestroyMenu(menu_);
}

BOOL CSkinMenu::CreateMenu() {
  if (menu_ != nullptr) return FALSE;
  menu_ = CreatePopupMenu();
  return menu_ != nullptr;
}

BOOL CSkinMenu::AppendMenuW(UINT id, const wchar_t* text, UINT flags) {
  return ::AppendMenuW(menu_, MF_STRING | flags, id, text);
}

BOOL CSkinMenu::AppendSeparator() { return ::AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr); }

BOOL CSkinMenu::CheckMenuItem(UINT id, UINT check) {
  return ::CheckMenuItem(menu_, id, MF_BYCOMMAND | check) != static_cast<DWORD>(-1);
}

BOOL CSkinMenu::InsertMenuW(HMENU submenu, const wchar_t* text, UINT, UINT flags) {
  return ::AppendMenuW(menu_, MF_STRING | flags, reinterpret_cast<UINT_PTR>(submenu), text);
}

BOOL CSkinMenu::TrackPopupMenu(int x, int y, CWnd* owner) {
  if (Hook()) {
    const UINT command = Hook()(menu_);
    if (command != 0) owner->PostMessage(WM_COMMAND, command, 0);
    return TRUE;
  }
  return ::TrackPopupMenu(menu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, owner->GetSafeHwnd(),
                          nullptr);
}

void CSkinMenu::SetTrackHook(TrackHook hook) { Hook() = std::move(hook); }
