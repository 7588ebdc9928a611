// CSkinDialog: a frameless dialog that paints a skin background image, optional title,
// logo and caption buttons, and a frame; it can be dragged by any point, made translucent
// and kept off the taskbar. Owner-drawn skin buttons get their WM_DRAWITEM.
#pragma once

#include <windows.h>

#include "mfc/AfxDialog.h"
#include "skivra/SkinImage.h"

class CSkinDialog : public CDialog {
 public:
  explicit CSkinDialog(UINT templateId, CWnd* parent = nullptr);

  void ShowBtnClose(int show) { SetCaptionButton(kClose, show); }
  void ShowBtnMaxSize(int show) { SetCaptionButton(kMaximize, show); }
  void ShowBtnMinSize(int show) { SetCaptionButton(kMinimize, show); }
  void ShowLogo(int show);
  void ShowTitle(int show);
  // Any point of the dialog that is no control moves the window.
  void EnableFullWindowDrag(int enable) { fullWindowDrag_ = enable != 0; }
  void ShowOnTaskBar(int show);
  // The skin background: the module's PNG resource, stretched over the client area.
  // The encircle information (rounded corners) is not used by this skin.
  void SetAttribute(HINSTANCE module, const wchar_t* background, const void* encircle);
  // Opacity 0-255 while the mouse is away and while it is over the dialog.
  void Transparent(int alpha, int hoverAlpha);
  void ShowShadow(int show);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  virtual void OnPaint();
  virtual void OnTimer(UINT_PTR id) { Default(); }
  virtual void OnWindowPosChanged(WINDOWPOS* pos) { Default(); }
  virtual void OnShowWindow(BOOL show, UINT status) { Default(); }
  // Draws the frame over the painted client area.
  virtual void DrawFrame(HDC dc, const CRect& rect);

 private:
  enum CaptionButton { kClose, kMaximize, kMinimize, kCaptionButtons };
  static constexpr int kCaptionButtonSize = 24;

  void SetCaptionButton(CaptionButton button, int show);
  // The rectangle of a shown caption button (client coordinates); empty when hidden.
  CRect CaptionButtonRect(CaptionButton button) const;
  LRESULT HitTest(LPARAM lParam);
  void PaintSkin(HDC dc, const CRect& client);
  void SetAlpha(int alpha) const;

  CSkinImage background_;
  bool captionButtons_[kCaptionButtons] = {true, true, true};
  bool logo_ = true;
  bool title_ = true;
  bool fullWindowDrag_ = false;
  int alpha_ = 255;
  int hoverAlpha_ = 255;
  bool hover_ = false;
};
