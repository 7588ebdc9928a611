// The trace dialog: a hidden, top-most window that holds the trace console. Once it is
// initialised, TraceMessage reaches the console.
#pragma once

#include "TraceServiceControl.h"
#include "mfc/AfxDialog.h"
#include "resource.h"

class CDlgTrace : public CDialogEx {
 public:
  enum { IDD = IDD_TRACE_DIALOG };

  explicit CDlgTrace(CWnd* parent = nullptr) : CDialogEx(IDD, parent) {}

  CTraceServiceControl m_console;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  int OnCreate(LPCREATESTRUCTW create) override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnDestroy() override;
  void OnOK() override {}
  void OnCancel() override { ShowWindow(SW_HIDE); }
};
