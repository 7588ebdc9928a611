// A static control that paints itself double-buffered: a memory bitmap of the client size,
// filled with the background colour in transparent background mode, drawn into by the
// subclass and copied to the window with one BitBlt. WM_PRINTCLIENT paints the same way
// into the given device context.
#pragma once

#include "mfc/AfxStatic.h"

class CBufferedStatic : public CStatic {
 public:
  void SetBkColor(COLORREF color);
  COLORREF GetBkColor() const { return m_clrBackground; }

  // Restarts the window timer with the period; stops it.
  void RestartTimer(UINT_PTR id, UINT periodMs);
  void StopTimer(UINT_PTR id);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Draws onto the memory context, which is already filled with the background.
  virtual void Draw(HDC dc, int width, int height) = 0;
  virtual void OnTimer(UINT_PTR id) {}

  void Invalidate() const;

 private:
  void Paint(HDC target);

  COLORREF m_clrBackground = RGB(255, 255, 255);
};
