// The main panel: a small top-most floating window in the bottom-right corner of the work
// area. It owns the IME service, the tray icon, the trace console and the input counts, and
// shows the recognised text, the spectrum and the network and translation state.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "AIAnimate.h"
#include "ColorBar.h"
#include "DlgTrace.h"
#include "IMEService.h"
#include "InputStatistics.h"
#include "LayeredWnd.h"
#include "WaveGraph.h"
#include "resource.h"
#include "skivra/SkinButton.h"
#include "skivra/SkinDialog.h"
#include "skivra/SkinLabel.h"

// Messages of the main panel beyond the service's (IMEService.h).
constexpr UINT WM_TRAY_NOTIFY = WM_USER + 1;
constexpr UINT WM_SETTINGS_CHANGED = WM_USER + 6;  // sent by the settings tool
constexpr UINT WM_KELVANE_NOOP = WM_USER + 8;
constexpr UINT WM_KELVANE_KILL = WM_USER + 9;  // ends the process at once
// Status changes from the service's thread, carried to the UI thread (lParam: heap data
// posted through PostedObjects).
constexpr UINT WM_NETWORK_STATUS = WM_APP + 1;
constexpr UINT WM_TRANSLATE_STATUS = WM_APP + 2;

constexpr wchar_t kMainWindowTitle[] = L"Kelvane_MainWnd";

// Tray menu commands.
enum TrayCommand : UINT {
  ID_TRAY_SHOW_PANEL = 20100,
  ID_TRAY_SHOW_TRACE = 20101,
  ID_TRAY_OPTIONS = 20102,
  ID_TRAY_AUTORUN = 20103,
  ID_TRAY_TRACE_NONE = 20104,  // to 20109: trace filter -1 to 4
  ID_TRAY_TRACE_DEBUG = 20109,
  ID_TRAY_TODAY_COUNT = 20110,
  ID_TRAY_TOTAL_COUNT = 20111,
  ID_TRAY_EXIT = 20112,
};

class CKelvaneDlg : public CSkinDialog, public IIMEServiceOwner {
 public:
  enum { IDD = IDD_KELVANE_DIALOG };
  enum Timer : UINT_PTR { kSystemCheckTimer = 1, kSlideInTimer = 2, kStatisticsTimer = 3 };
  static constexpr UINT kSystemCheckMs = 3000;
  static constexpr UINT kSlideInMs = 10;
  static constexpr UINT kStatisticsMs = 60000;
  static constexpr UINT kTrayIconId = IDR_MAINFRAME;
  static constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  static constexpr wchar_t kRunValue[] = L"Kelvane";

  explicit CKelvaneDlg(CWnd* parent = nullptr);
  ~CKelvaneDlg() override;

  // Set-up before the dialog is created (tests and the demo): the settings folder
  // (%APPDATA%\Tavri\Kelvane by default) and a step run on every new service before it starts.
  void SetSettingsFolder(const std::wstring& folder) { m_settingsFolder = folder; }
  using ServiceSetup = std::function<void(CIMEService& service)>;
  void SetServiceSetup(ServiceSetup setup) { m_serviceSetup = std::move(setup); }

  // IIMEServiceOwner. The status calls come from the service's thread: they post.
  HWND GetMessageWindow() override { return m_hWnd; }
  void SetNetworkStatus(int online, const wchar_t* text) override;
  void SetTranslateStatus(int on, const wchar_t* srcName, const wchar_t* dstName) override;
  void AddSamples(const unsigned char* bytes, unsigned long size) override;

  void ShowTrayIcon(int add);
  bool IsAutoRun();
  bool SetAutoRun(int want);
  BOOL LoadStatistics();
  BOOL CountInput(int n);
  void SaveStatistics();
  void ShowAIMode(int mode);
  void ToggleAIMode();

  CIMEService* Service() const { return m_service.get(); }
  const CInputStatistics& Statistics() const { return m_statistics; }
  CDlgTrace& TraceDialog() { return m_trace; }

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  int OnCreate(LPCREATESTRUCTW create) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void DoDataExchange(CDataExchange* dx) override;
  void OnPaint() override;
  void OnTimer(UINT_PTR id) override;
  void OnWindowPosChanged(WINDOWPOS* pos) override;
  void OnShowWindow(BOOL show, UINT status) override;
  void OnDestroy() override;
  void OnOK() override {}
  void OnCancel() override {}
  void DrawFrame(HDC dc, const CRect& rect) override;

 private:
  // Service messages.
  void OnResultText(WPARAM length, const CString& text);
  void OnSessionBegin();
  void OnSessionEnd();
  void OnReply(const CString& text);
  void OnSettingsChanged();
  void OnKill();
  void ApplyNetworkStatus(int online, const wchar_t* text);
  void ApplyTranslateStatus(int on, const wchar_t* mark);

  void StartService();
  void StopService();

  void InitControls();
  void LayoutControls();
  void RefreshStatusIcons();
  void PlaceOutsideWorkArea();
  bool SlideStep();
  void ShowStatusLine(COLORREF color, const wchar_t* text);

  // Tray.
  void OnTrayNotify(LPARAM mouseMessage);
  void ShowTrayMenu();
  void StartSettingsTool();
  void OnTrayCommand(UINT id);


  HICON m_hIcon;
  CDlgTrace m_trace;
  NOTIFYICONDATAW m_tray{};
  CInputStatistics m_statistics;
  CAIAnimate m_aiAnimate;
  CWaveGraph m_spectrum;
  CColorBar m_recognitionBar;
  CSkinButton m_closeButton;
  CSkinButton m_modeButton;
  CSkinLabel m_statusLine;
  CSkinLabel m_statusText;
  CSkinLabel m_networkIcon;
  CSkinLabel m_replyLine;
  CLayeredWnd m_statusIcon;
  std::unique_ptr<CIMEService> m_service;
  int m_online = 0;
  int m_translate = 0;

  // Where the status calls post to; null once the panel is going.
  std::atomic<HWND> m_statusWindow{nullptr};
  std::wstring m_settingsFolder;
  ServiceSetup m_serviceSetup;
  // A settings change that arrives while a restart runs is done after it.
  bool m_restarting = false;
  bool m_restartPending = false;
};
