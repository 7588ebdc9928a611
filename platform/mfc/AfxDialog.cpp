#include "mfc/AfxDialog.h"

#include "mfc/AfxWinApp.h"

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd != nullptr) return;
  if (!control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd)) dx->Fail();
}

HINSTANCE AfxGetResourceHandle() { return GetModuleHandleW(nullptr); }

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  if (m_hWnd != nullptr) return FALSE;
  m_nIDTemplate = templateId;
  m_pParentWnd = parent;
  CWndCreationHook hook(this);
  HWND window = CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(templateId),
                                   parent ? parent->m_hWnd : nullptr, &CDialog::DialogProc,
                                   reinterpret_cast<LPARAM>(this));
  return window != nullptr;
}

INT_PTR CDialog::DoModal() {
  if (m_hWnd != nullptr) return -1;
  CWndCreationHook hook(this);
  return DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate),
                         m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, &CDialog::DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  return reinterpret_cast<CDialog*>(lParam)->OnInitDialog();
}

void CDialog::EndDialog(int result) { ::EndDialog(m_hWnd, result); }

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return !dx.m_bFailed;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDOK:
        OnOK();
        return TRUE;
      case IDCANCEL:
        OnCancel();
        return TRUE;
    }
  }
  // Menu, accelerator and button commands the dialog leaves go to the application.
  const bool command = lParam == 0 || HIWORD(wParam) == BN_CLICKED;
  CWinApp* app = AfxGetApp();
  if (command && app != nullptr && app->OnCmdMsg(LOWORD(wParam))) return TRUE;
  return CWnd::OnCommand(wParam, lParam);
}
