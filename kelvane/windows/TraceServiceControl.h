// The trace console: a rich edit that shows trace lines coloured by level and writes them
// to the daily log file.
#pragma once

#include <windows.h>

#include <functional>

#include "TraceLogFile.h"
#include "TraceService.h"
#include "mfc/AfxMenu.h"
#include "mfc/AfxRichEdit.h"

// The local time; tests replace it.
using TraceClock = std::function<SYSTEMTIME()>;

class CTraceServiceControl : public CRichEditCtrl, public ITraceService {
 public:
  // Context menu commands.
  enum : UINT {
    ID_TRACE_COPY = 100,
    ID_TRACE_SELECT_ALL = 110,
    ID_TRACE_DELETE = 120,
    ID_TRACE_CLEAR = 130,
    ID_TRACE_SAVE = 140,
  };
  // Above this many characters the console starts over empty.
  static constexpr long kResetLength = 0x7FFFF;

  CTraceServiceControl();

  bool Trace(const wchar_t* text, int level) override;
  // Opens (open = true) the log file in the folder's Log folder, or closes it.
  bool OpenLog(bool open, const wchar_t* folder);
  void SetPrefix(const wchar_t* prefix) { m_log.SetPrefix(prefix); }
  const CString& LogFilePath() const { return m_log.FilePath(); }
  // Lines above the filter's level are dropped; -1 (none) drops all.
  void SetFilter(int filter) { m_filter = filter; }
  int GetFilter() const { return m_filter; }
  void SetClock(TraceClock clock) { m_clock = std::move(clock); }

  // Fills the context menu for the console's current text and selection.
  void BuildContextMenu(CMenu& menu) const;
  // Writes the console's text as UTF-16LE without byte-order mark, replacing the file.
  bool SaveText(const wchar_t* path) const;

 protected:
  void PreSubclassWindow() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnRButtonDown(UINT flags, CPoint point) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  void AppendText(const CString& line, const CHARFORMAT2W& format);
  void SaveWithDialog();

  CTraceLogFile m_log;
  CHARFORMAT2W m_charFormat;
  int m_filter = 4;
  TraceClock m_clock;
};
