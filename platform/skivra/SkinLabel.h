// CSkinLabel: a static control that paints its own background, text or image.
#pragma once

#include <windows.h>

#include "mfc/AfxWnd.h"
#include "skivra/SkinImage.h"

class CSkinLabel : public CWnd {
 public:
  CSkinLabel() = default;
  ~CSkinLabel() override;

  // DrawText flags for the text (DT_LEFT by default); single-line text is centred vertically.
  void SetTextFormat(UINT format);
  // Font of the pixel height and face.
  void SetTextFont(int height, const wchar_t* face);
  void SetTextColor(COLORREF color);
  void SetBackGroundColor(COLORREF color);
  // A PNG resource drawn centred over the background, instead of the text.
  void SetImage(HINSTANCE module, const wchar_t* name);

  COLORREF GetTextColor() const { return textColor_; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc) const;

  UINT format_ = DT_LEFT;
  HFONT font_ = nullptr;
  COLORREF textColor_ = RGB(0, 0, 0);
  COLORREF background_ = RGB(255, 255, 255);
  CSkinImage image_;
};
