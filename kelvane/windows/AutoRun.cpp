// Start with Windows: the value "Kelvane" under HKCU's Run key holds this program's path.
#include <string>

#include "KelvaneDlg.h"
#include "TraceMessage.h"
#include "skivra/Skivra.h"

namespace {

std::wstring ProgramPath() {
  wchar_t path[MAX_PATH] = L"";
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, length < MAX_PATH ? length : 0);
}

}  // namespace

bool CKelvaneDlg::IsAutoRun() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    TraceMessage(kTraceError, L"RegisterAutoRun Fail to open register %s.", kRunKey);
    return false;
  }
  const std::wstring program = ProgramPath();
  wchar_t stored[MAX_PATH] = L"";
  DWORD size = sizeof(stored);
  const LSTATUS read =
      RegGetValueW(key, nullptr, kRunValue, RRF_RT_REG_SZ, nullptr, stored, &size);
  RegCloseKey(key);
  return read == ERROR_SUCCESS && program == stored;
}

bool CKelvaneDlg::SetAutoRun(int want) {
  if ((want == 1) == IsAutoRun()) return true;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS) {
    SkinMessageBox(L"注册随系统启动失败");
    TraceMessage(kTraceError, L"RegisterAutoRun Fail to open register %s.", kRunKey);
    return false;
  }
  LSTATUS result;
  if (want == 1) {
    const std::wstring program = ProgramPath();
    // With its terminating zero, as REG_SZ data should be.
    result = RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(program.c_str()),
                            static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t)));
  } else {
    result = RegDeleteValueW(key, kRunValue);
  }
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) {
    SkinMessageBox(L"设置系统启动项失败");
    TraceMessage(kTraceError, L"RegisterAutoRun Fail to set auto run.");
    return false;
  }
  return true;
}
