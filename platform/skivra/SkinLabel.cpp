#include "skivra/SkinLabel.h"

#include "mfc/AfxString.h"

CSkinLabel::~CSkinLabel() {
  if (font_) DeleteObject(font_);
}

void CSkinLabel::SetTextFormat(UINT format) {
  format_ = format;
  Invalidate();
}

void CSkinLabel::SetTextFont(int height, const wchar_t* face) {
  HFONT font = CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, face);
  if (font == nullptr) return;
  if (font_) DeleteObject(font_);
  font_ = font;
  Invalidate();
}

void CSkinLabel::SetTextColor(COLORREF color) {
  textColor_ = color;
  Invalidate();
}

void CSkinLabel::SetBackGroundColor(COLORREF color) {
  background_ = color;
  Invalidate();
}

void CSkinLabel::SetImage(HINSTANCE module, const wchar_t* name) {
  image_.Load(module, name);
  Invalidate();
}

LRESULT CSkinLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(m_hWnd, &paint);
      Paint(dc);
      EndPaint(m_hWnd, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return TRUE;
    case WM_SETTEXT: {
      const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
      Invalidate();
      return result;
    }
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

void CSkinLabel::Paint(HDC dc) const {
  CRect client;
  GetClientRect(client);
  HBRUSH brush = CreateSolidBrush(background_);
  FillRect(dc, client, brush);
  DeleteObject(brush);
  if (image_.IsLoaded()) {
    image_.Draw(dc, (client.Width() - image_.Width()) / 2, (client.Height() - image_.Height()) / 2,
                image_.Width(), image_.Height());
    return;
  }
  CString text;
  GetWindowText(text);
  HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, textColor_);
  UINT format = format_ | DT_END_ELLIPSIS | DT_NOPREFIX;
  if (!(format & DT_WORDBREAK)) format |= DT_SINGLELINE | DT_VCENTER;
  DrawTextW(dc, text, text.GetLength(), client, format);
  SelectObject(dc, oldFont);
}
