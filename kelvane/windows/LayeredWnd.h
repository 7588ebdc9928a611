// The status icon: a per-pixel-alpha window owned by the main panel, overlapping its
// top-left corner. Its window text, when it has exactly two characters, is drawn over the
// image.
#pragma once

#include <string>

#include "GdiplusSession.h"
#include "mfc/AfxWnd.h"

class CLayeredWnd : public CWnd {
 public:
  CLayeredWnd() = default;
  // The window it created goes with it.
  ~CLayeredWnd() override { DestroyWindow(); }

  // Nothing when the owner is null or has no window; creates the window once.
  BOOL Create(CWnd* owner);
  // The PNG resource that Redraw shows.
  void SetImage(HINSTANCE module, const wchar_t* name);
  // Sizes the window to the image and shows image and text; FALSE, with the window left as
  // it was, when the image cannot be loaded.
  BOOL Redraw();

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  GdiplusSession m_gdiplus;
  CWnd* m_pOwner = nullptr;
  HINSTANCE m_hImageModule = nullptr;
  std::wstring m_strImageName = L"icon_imewidget_grey";
  BYTE m_nAlpha = 255;
};
