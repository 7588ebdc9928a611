// CDialog and CDialogEx: modal and modeless dialogs from templates in the program's
// resources, with MFC's data exchange.
#pragma once

#include "mfc/AfxWnd.h"

class CDialog;

// What DoDataExchange is asked to do; a failing exchange marks it failed.
class CDataExchange {
 public:
  CDataExchange(CDialog* dialog, BOOL saveAndValidate)
      : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

  void Fail() { m_bFailed = TRUE; }

  BOOL m_bSaveAndValidate;
  CDialog* m_pDlgWnd;
  BOOL m_bFailed = FALSE;
};

// Binds the control object to the dialog's control id (once); marks the exchange failed
// when the dialog has no such control.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

// The module that holds the dialog templates (the program itself).
HINSTANCE AfxGetResourceHandle();

class CDialog : public CWnd {
 public:
  CDialog() = default;
  explicit CDialog(UINT templateId, CWnd* parent = nullptr)
      : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

  // Modeless: creates the dialog from its template; FALSE when it cannot.
  BOOL Create(UINT templateId, CWnd* parent = nullptr);
  // Modal: runs the dialog until EndDialog; -1 when it cannot be created.
  virtual INT_PTR DoModal();
  void EndDialog(int result);
  // Runs DoDataExchange; FALSE when an exchange failed.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

 protected:
  // Exchanges the data (UpdateData(FALSE)); TRUE lets the system set the focus.
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange* dx) {}
  // UpdateData(TRUE), then EndDialog(IDOK) when it succeeded.
  virtual void OnOK();
  virtual void OnCancel();
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  UINT m_nIDTemplate = 0;
  CWnd* m_pParentWnd = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

class CDialogEx : public CDialog {
 public:
  using CDialog::CDialog;
};
