// CRichEditCtrl: a rich edit 2.0 control ("RichEdit20W").
#pragma once

#include <windows.h>
#include <richedit.h>

#include "mfc/AfxWnd.h"

// Loads the rich edit 2.0 library; call before creating a dialog that holds one.
BOOL AfxInitRichEdit2();

class CRichEditCtrl : public CWnd {
 public:
  COLORREF SetBackgroundColor(BOOL useSystemColor, COLORREF color) const;
  long GetTextLength() const;
  void GetSel(long& start, long& end) const;
  void SetSel(long start, long end) const;
  void ReplaceSel(const wchar_t* text, BOOL canUndo = FALSE) const;
  BOOL SetSelectionCharFormat(CHARFORMAT2W& format) const;
  void LimitText(long maxChars) const;
};
