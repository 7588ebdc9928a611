// Placeholder until the status windows land: the calls the main dialog makes.
#pragma once

#include "mfc/AfxWnd.h"

class CLayeredWnd : public CWnd {
 public:
  BOOL Create(CWnd*) { return FALSE; }
  void SetImage(HINSTANCE, const wchar_t*) {}
  BOOL Redraw() { return FALSE; }
};
