// Placeholder until the status windows land: the calls the main dialog makes.
#pragma once

#include "mfc/AfxWnd.h"

class CLayeredWnd : public CWnd {
 public:
  CLayeredWnd(HINSTANCE, const wchar_t*, BYTE) {}
  void Create(CWnd*) {}
  void SetImage(HINSTANCE, const wchar_t*) {}
  void Redraw() {}
};
