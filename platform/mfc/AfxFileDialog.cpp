#include "mfc/AfxFileDialog.h"

#include <algorithm>
#include <cwchar>

namespace {

CFileDialog::ModalHook& Hook() {
  static CFileDialog::ModalHook hook;
  return hook;
}

// "*.txt" as a default extension means "txt".
std::wstring BareExtension(const wchar_t* extension) {
  std::wstring bare = extension ? extension : L"";
  const size_t dot = bare.rfind(L'.');
  return dot == std::wstring::npos ? bare : bare.substr(dot + 1);
}

}  // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, const wchar_t* defaultExtension,
                         const wchar_t* fileName, DWORD flags, const wchar_t* filter,
                         CWnd* parent)
    : m_bOpenFileDialog(openFileDialog),
      m_defaultExtension(BareExtension(defaultExtension)),
      m_filter(filter ? filter : L"") {
  std::replace(m_filter.begin(), m_filter.end(), L'|', L'\0');
  if (fileName) wcsncpy(m_fileName, fileName, MAX_PATH - 1);

  m_ofn.lStructSize = sizeof m_ofn;
  m_ofn.hwndOwner = parent ? parent->GetSafeHwnd() : nullptr;
  m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
  m_ofn.lpstrFile = m_fileName;
  m_ofn.nMaxFile = MAX_PATH;
  m_ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
  m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

void CFileDialog::SetModalHook(ModalHook hook) { Hook() = std::move(hook); }

INT_PTR CFileDialog::DoModal() {
  if (Hook()) {
    CString path;
    if (!Hook()(*this, path)) return IDCANCEL;
    wcsncpy(m_fileName, path, MAX_PATH - 1);
    return IDOK;
  }
  const BOOL chosen = m_bOpenFileDialog ? GetOpenFileNameW(&m_ofn) : GetSaveFileNameW(&m_ofn);
  return chosen ? IDOK : IDCANCEL;
}
