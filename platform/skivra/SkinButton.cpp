#include "skivra/SkinButton.h"

CSkinButton::~CSkinButton() {
  if (bitmap_) DeleteObject(bitmap_);
}

void CSkinButton::PreSubclassWindow() { ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW); }

BOOL CSkinButton::SetButtonImage(UINT bitmapId, HINSTANCE module, bool stretch,
                                 bool fourStates) {
  HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(bitmapId));
  if (bitmap == nullptr) return FALSE;
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = bitmap;
  stretch_ = stretch;
  fourStates_ = fourStates;
  Invalidate();
  return TRUE;
}

int CSkinButton::StateOf(UINT itemState) const {
  if (itemState & ODS_DISABLED) return 3;
  if (itemState & ODS_SELECTED) return 2;
  return hover_ ? 1 : 0;
}

void CSkinButton::DrawItem(const DRAWITEMSTRUCT& item) {
  const CRect rect(item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom);
  HBRUSH back = CreateSolidBrush(RGB(0, 0, 0));
  FillRect(item.hDC, &rect, back);
  DeleteObject(back);
  if (bitmap_ == nullptr) return;
  BITMAP info{};
  GetObjectW(bitmap_, sizeof info, &info);
  const int width = fourStates_ ? info.bmWidth / 4 : info.bmWidth;
  const int sourceX = fourStates_ ? StateOf(item.itemState) * width : 0;
  HDC source = CreateCompatibleDC(item.hDC);
  HGDIOBJ old = SelectObject(source, bitmap_);
  if (stretch_) {
    SetStretchBltMode(item.hDC, HALFTONE);
    StretchBlt(item.hDC, rect.left, rect.top, rect.Width(), rect.Height(), source, sourceX, 0,
               width, info.bmHeight, SRCCOPY);
  } else {
    BitBlt(item.hDC, rect.left + (rect.Width() - width) / 2,
           rect.top + (rect.Height() - info.bmHeight) / 2, width, info.bmHeight, source, sourceX,
           0, SRCCOPY);
  }
  SelectObject(source, old);
  DeleteDC(source);
}

LRESULT CSkinButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (!hover_) {
        hover_ = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        TrackMouseEvent(&track);
        Invalidate(FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      hover_ = false;
      Invalidate(FALSE);
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
