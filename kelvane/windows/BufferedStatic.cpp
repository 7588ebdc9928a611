#include "BufferedStatic.h"

void CBufferedStatic::SetBkColor(COLORREF color) {
  m_clrBackground = color;
  Invalidate();
}

void CBufferedStatic::RestartTimer(UINT_PTR id, UINT periodMs) {
  if (m_hWnd == nullptr) return;
  ::KillTimer(m_hWnd, id);
  ::SetTimer(m_hWnd, id, periodMs, nullptr);
}

void CBufferedStatic::StopTimer(UINT_PTR id) {
  if (m_hWnd != nullptr) ::KillTimer(m_hWnd, id);
}

void CBufferedStatic::Invalidate() const {
  if (m_hWnd != nullptr) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT CBufferedStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(m_hWnd, &paint);
      Paint(dc);
      ::EndPaint(m_hWnd, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole client area
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      return Default();
  }
  return CStatic::WindowProc(message, wParam, lParam);
}

void CBufferedStatic::Paint(HDC target) {
  CRect client;
  GetClientRect(client);
  const int width = client.Width();
  const int height = client.Height();
  if (width <= 0 || height <= 0) return;

  HDC memory = ::CreateCompatibleDC(target);
  HBITMAP bitmap = ::CreateCompatibleBitmap(target, width, height);
  if (memory == nullptr || bitmap == nullptr) {
    if (bitmap) ::DeleteObject(bitmap);
    if (memory) ::DeleteDC(memory);
    return;
  }
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  HBRUSH background = ::CreateSolidBrush(m_clrBackground);
  ::FillRect(memory, &client, background);
  ::DeleteObject(background);
  ::SetBkMode(memory, TRANSPARENT);

  Draw(memory, width, height);

  ::BitBlt(target, 0, 0, width, height, memory, 0, 0, SRCCOPY);
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
}
