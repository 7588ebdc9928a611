// CFileDialog: the system's open and save dialogs. A hook set by tests answers in place of
// the dialog.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <string>

#include "mfc/AfxWnd.h"

class CFileDialog {
 public:
  // Answers DoModal in place of the dialog: TRUE with a path for OK, FALSE for Cancel.
  using ModalHook = std::function<BOOL(const CFileDialog& dialog, CString& path)>;

  // filter: "name|pattern|...||", as in MFC.
  explicit CFileDialog(BOOL openFileDialog, const wchar_t* defaultExtension = nullptr,
                       const wchar_t* fileName = nullptr,
                       DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       const wchar_t* filter = nullptr, CWnd* parent = nullptr);
  CFileDialog(const CFileDialog&) = delete;
  CFileDialog& operator=(const CFileDialog&) = delete;

  // IDOK or IDCANCEL.
  INT_PTR DoModal();
  CString GetPathName() const { return CString(m_ofn.lpstrFile); }
  BOOL IsOpenDialog() const { return m_bOpenFileDialog; }

  // Replaces the dialog for every CFileDialog until reset with an empty hook.
  static void SetModalHook(ModalHook hook);

  OPENFILENAMEW m_ofn{};

 private:
  BOOL m_bOpenFileDialog;
  std::wstring m_defaultExtension;
  std::wstring m_filter;  // NUL-separated
  wchar_t m_fileName[MAX_PATH] = L"";
};
