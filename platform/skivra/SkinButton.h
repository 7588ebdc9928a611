// CSkinButton: a push button drawn from a bitmap strip of four 16x16 states (normal, hover,
// pressed, disabled), or the whole bitmap when it has one state.
#pragma once

#include <windows.h>

#include "mfc/AfxWnd.h"

class CSkinButton : public CWnd {
 public:
  CSkinButton() = default;
  ~CSkinButton() override;

  // Takes the bitmap resource; stretch scales a state over the button (else centred),
  // fourStates says the bitmap is a strip of the four states.
  BOOL SetButtonImage(UINT bitmapId, HINSTANCE module, bool stretch, bool fourStates);
  // Called by the skinned dialog for the owner-drawn button.
  void DrawItem(const DRAWITEMSTRUCT& item);

 protected:
  void PreSubclassWindow() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int StateOf(UINT itemState) const;

  HBITMAP bitmap_ = nullptr;
  bool stretch_ = false;
  bool fourStates_ = false;
  bool hover_ = false;
};
