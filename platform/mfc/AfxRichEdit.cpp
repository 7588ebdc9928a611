#include "mfc/AfxRichEdit.h"

BOOL AfxInitRichEdit2() {
  static const HMODULE library = LoadLibraryW(L"riched20.dll");
  return library != nullptr;
}

COLORREF CRichEditCtrl::SetBackgroundColor(BOOL useSystemColor, COLORREF color) const {
  return static_cast<COLORREF>(SendMessage(EM_SETBKGNDCOLOR, useSystemColor, color));
}

long CRichEditCtrl::GetTextLength() const {
  return static_cast<long>(SendMessage(WM_GETTEXTLENGTH));
}

void CRichEditCtrl::GetSel(long& start, long& end) const {
  CHARRANGE range{0, 0};
  SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  start = range.cpMin;
  end = range.cpMax;
}

void CRichEditCtrl::SetSel(long start, long end) const {
  CHARRANGE range{start, end};
  SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void CRichEditCtrl::ReplaceSel(const wchar_t* text, BOOL canUndo) const {
  SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text));
}

BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMAT2W& format) const {
  return static_cast<BOOL>(
      SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)));
}

void CRichEditCtrl::LimitText(long maxChars) const { SendMessage(EM_EXLIMITTEXT, 0, maxChars); }
