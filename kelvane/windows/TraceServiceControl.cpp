#include "TraceServiceControl.h"

#include "PostedObjects.h"
#include "TraceFormat.h"
#include "TraceLinks.h"
#include "TraceMessage.h"
#include "mfc/AfxFile.h"
#include "mfc/AfxFileDialog.h"

namespace {

constexpr COLORREF kConsoleBackground = RGB(10, 10, 10);
// Room for the reset length plus one longest line: the default limit (32767) would cut
// lines off long before the console starts over.
constexpr long kConsoleTextLimit = 1 << 20;

SYSTEMTIME LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now;
}

UINT EnabledIf(bool enabled) { return enabled ? MF_ENABLED : MF_DISABLED | MF_GRAYED; }

}  // namespace

CTraceServiceControl::CTraceServiceControl() : m_charFormat{}, m_clock(&LocalNow) {
  m_charFormat.cbSize = sizeof m_charFormat;
  m_charFormat.dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE;
  m_charFormat.yHeight = 180;
  wcscpy(m_charFormat.szFaceName, L"宋体");
}

void CTraceServiceControl::PreSubclassWindow() {
  SetBackgroundColor(FALSE, kConsoleBackground);
  LimitText(kConsoleTextLimit);
}

LRESULT CTraceServiceControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TRACE_LINE) {
    const TraceLine text = PostedObjects::Take<wchar_t, TraceLineDeleter>(m_hWnd, message, lParam);
    if (text) Trace(text.get(), static_cast<int>(wParam));
    return 0;
  }
  if (message == WM_NCDESTROY) PostedObjects::Discard(m_hWnd);  // lines that came too late
  return CRichEditCtrl::WindowProc(message, wParam, lParam);
}

bool CTraceServiceControl::OpenLog(bool open, const wchar_t* folder) {
  if (open == m_log.IsOpen()) return true;
  if (!open) {
    m_log.Close();
    return true;
  }
  return m_log.Open(folder, m_clock());
}

bool CTraceServiceControl::Trace(const wchar_t* text, int level) {
  if (m_filter < 0 || level > m_filter) return true;
  if (text == nullptr) text = L"";
  const SYSTEMTIME now = m_clock();
  const CString stamp = FormatTraceStamp(now);
  m_charFormat.crTextColor = TraceLevelColor(level);
  m_log.WriteLine(now, stamp, TraceLevelLetter(level), text);

  CString line;
  line.Format(L"%s%s\n", stamp.GetString(), text);
  AppendText(line, m_charFormat);
  return true;
}

void CTraceServiceControl::AppendText(const CString& line, const CHARFORMAT2W& format) {
  if (GetTextLength() > kResetLength) SetWindowText(L"");
  for (const TraceTextRun& run : SplitLinkRuns(line.GetString())) {
    CHARFORMAT2W runFormat = format;
    runFormat.dwMask |= CFM_LINK;  // also clears a link inherited from the text before
    runFormat.dwEffects = run.link ? CFE_LINK : 0;
    const long end = GetTextLength();  // counts line ends twice: clamped to the real end
    SetSel(end, end);
    SetSelectionCharFormat(runFormat);
    ReplaceSel(run.text.c_str());
  }
  PostMessage(WM_VSCROLL, SB_BOTTOM, 0);
}

void CTraceServiceControl::BuildContextMenu(CMenu& menu) const {
  long selStart = 0, selEnd = 0;
  GetSel(selStart, selEnd);
  const long length = GetTextLength();
  const bool hasText = length > 0;
  menu.CreatePopupMenu();
  menu.AppendMenu(EnabledIf(selEnd > selStart), ID_TRACE_COPY, L"复制(&C)\tCtrl+C");
  menu.AppendMenu(EnabledIf(length > selEnd - selStart), ID_TRACE_SELECT_ALL, L"全选(&A)\tCtrl+A");
  menu.AppendMenu(EnabledIf(false), ID_TRACE_DELETE, L"删除(&D)");
  menu.AppendMenu(EnabledIf(hasText), ID_TRACE_CLEAR, L"清除信息");
  menu.AppendMenu(MF_SEPARATOR);
  menu.AppendMenu(EnabledIf(hasText), ID_TRACE_SAVE, L"保存信息...");
}

void CTraceServiceControl::OnRButtonDown(UINT flags, CPoint point) {
  ClientToScreen(&point);
  CMenu menu;
  BuildContextMenu(menu);
  menu.TrackPopupMenu(flags, point.x, point.y, this);
}

BOOL CTraceServiceControl::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case ID_TRACE_COPY:
      SendMessage(WM_COPY);
      return TRUE;
    case ID_TRACE_SELECT_ALL:
      SetSel(0, GetTextLength());
      return TRUE;
    case ID_TRACE_CLEAR:
      SetWindowText(L"");
      return TRUE;
    case ID_TRACE_SAVE:
      SaveWithDialog();
      return TRUE;
  }
  return CRichEditCtrl::OnCommand(wParam, lParam);
}

void CTraceServiceControl::SaveWithDialog() {
  CFileDialog dialog(FALSE, L"*.txt", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     L"信息|*.txt||", this);
  if (dialog.DoModal() != IDOK) return;
  const CString path = dialog.GetPathName();
  if (!SaveText(path)) TraceMessage(kTraceError, L"CTraceServiceControl Fail to save %s", path.GetString());
}

bool CTraceServiceControl::SaveText(const wchar_t* path) const {
  CString text;
  GetWindowText(text);
  CFile file;
  return file.Open(path, CFile::modeCreate | CFile::modeWrite) &&
         file.Write(text.GetString(), static_cast<UINT>(text.GetLength() * sizeof(wchar_t)));
}
