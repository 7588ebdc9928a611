#include "skivra/SkinDialog.h"

#include <windowsx.h>

#include "mfc/AfxString.h"
#include "skivra/SkinButton.h"

namespace {

const COLORREF kSkinBack = RGB(0, 0, 0);
const COLORREF kSkinText = RGB(230, 230, 230);

// Hit-test codes and glyphs of the caption buttons, in CaptionButton order.
const LRESULT kButtonHits[] = {HTCLOSE, HTMAXBUTTON, HTMINBUTTON};
const wchar_t* const kButtonGlyphs[] = {L"\x00D7", L"\x25A1", L"_"};

}  // namespace

CSkinDialog::CSkinDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

BOOL CSkinDialog::OnInitDialog() {
  const BOOL result = CDialog::OnInitDialog();
  // The skin paints the whole client area; children keep their own pixels.
  ModifyStyle(0, WS_CLIPCHILDREN);
  return result;
}

void CSkinDialog::SetCaptionButton(CaptionButton button, int show) {
  captionButtons_[button] = show != 0;
  if (m_hWnd) Invalidate();
}

void CSkinDialog::ShowLogo(int show) {
  logo_ = show != 0;
  if (m_hWnd) Invalidate();
}

void CSkinDialog::ShowTitle(int show) {
  title_ = show != 0;
  if (m_hWnd) Invalidate();
}

void CSkinDialog::ShowOnTaskBar(int show) {
  if (show) {
    ModifyStyleEx(WS_EX_TOOLWINDOW, WS_EX_APPWINDOW);
  } else {
    ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
  }
}

void CSkinDialog::SetAttribute(HINSTANCE module, const wchar_t* background, const void*) {
  background_.Load(module, background);
  Invalidate();
}

void CSkinDialog::Transparent(int alpha, int hoverAlpha) {
  alpha_ = alpha;
  hoverAlpha_ = hoverAlpha;
  ModifyStyleEx(0, WS_EX_LAYERED);
  SetAlpha(hover_ ? hoverAlpha_ : alpha_);
}

void CSkinDialog::SetAlpha(int alpha) const {
  SetLayeredWindowAttributes(m_hWnd, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

void CSkinDialog::ShowShadow(int show) {
  const ULONG_PTR style = GetClassLongPtrW(m_hWnd, GCL_STYLE);
  SetClassLongPtrW(m_hWnd, GCL_STYLE,
                   show ? (style | CS_DROPSHADOW) : (style & ~ULONG_PTR(CS_DROPSHADOW)));
}

CRect CSkinDialog::CaptionButtonRect(CaptionButton button) const {
  if (!captionButtons_[button]) return CRect();
  CRect client;
  GetClientRect(client);
  int right = client.right;
  for (int b = kClose; b < button; ++b) {
    if (captionButtons_[b]) right -= kCaptionButtonSize;
  }
  return CRect(right - kCaptionButtonSize, 0, right, kCaptionButtonSize);
}

LRESULT CSkinDialog::HitTest(LPARAM lParam) {
  const LRESULT hit = Default();
  if (hit != HTCLIENT) return hit;
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(m_hWnd, &point);
  for (int b = kClose; b < kCaptionButtons; ++b) {
    const CRect rect = CaptionButtonRect(static_cast<CaptionButton>(b));
    if (PtInRect(&rect, point)) return kButtonHits[b];
  }
  return fullWindowDrag_ ? HTCAPTION : HTCLIENT;
}

void CSkinDialog::PaintSkin(HDC dc, const CRect& client) {
  HBRUSH back = CreateSolidBrush(kSkinBack);
  FillRect(dc, client, back);
  DeleteObject(back);
  background_.Draw(dc, 0, 0, client.Width(), client.Height());

  int textLeft = 6;
  if (logo_) {
    auto icon = reinterpret_cast<HICON>(SendMessage(WM_GETICON, ICON_SMALL, 0));
    if (icon) DrawIconEx(dc, 4, 4, icon, 16, 16, 0, nullptr, DI_NORMAL);
    textLeft = 24;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kSkinText);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  if (title_) {
    CString title;
    GetWindowText(title);
    CRect rect(textLeft, 0, client.right, kCaptionButtonSize);
    DrawTextW(dc, title, title.GetLength(), rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  for (int b = kClose; b < kCaptionButtons; ++b) {
    CRect rect = CaptionButtonRect(static_cast<CaptionButton>(b));
    DrawTextW(dc, kButtonGlyphs[b], -1, rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  SelectObject(dc, oldFont);
}

void CSkinDialog::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(m_hWnd, &paint);
  CRect client;
  GetClientRect(client);
  // Drawn off screen, then copied, so the panel does not flicker.
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, client.Width(), client.Height());
  HGDIOBJ old = SelectObject(memory, bitmap);
  PaintSkin(memory, client);
  DrawFrame(memory, client);
  BitBlt(dc, 0, 0, client.Width(), client.Height(), memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EndPaint(m_hWnd, &paint);
}

void CSkinDialog::DrawFrame(HDC dc, const CRect& rect) { FrameRect(dc, rect, GetSysColorBrush(COLOR_WINDOWFRAME)); }

LRESULT CSkinDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_NCHITTEST:
      return HitTest(lParam);
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_WINDOWPOSCHANGED:
      OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam));
      return 0;
    case WM_SHOWWINDOW:
      OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      auto* button = dynamic_cast<CSkinButton*>(FromHandlePermanent(item->hwndItem));
      if (button == nullptr) break;
      button->DrawItem(*item);
      return TRUE;
    }
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      if (!hover_ && (GetExStyle() & WS_EX_LAYERED)) {
        hover_ = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | (message == WM_NCMOUSEMOVE ? TME_NONCLIENT : 0u),
                              m_hWnd, 0};
        TrackMouseEvent(&track);
        SetAlpha(hoverAlpha_);
      }
      break;
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
      if (hover_) {
        hover_ = false;
        SetAlpha(alpha_);
      }
      break;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}
