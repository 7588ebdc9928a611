// The panel's controls: their look, their places and the status icons.
#include "KelvaneDlg.h"

namespace {

const COLORREF kGrey = RGB(180, 180, 180);
const COLORREF kOnlineBars = RGB(18, 169, 57);
constexpr float kPi = 3.141592653f;

}  // namespace

void CKelvaneDlg::InitControls() {
  const HINSTANCE module = AfxGetResourceHandle();
  m_closeButton.SetWindowText(L"");
  m_closeButton.SetButtonImage(IDB_CLOSE_BUTTON, module, false, true);
  m_modeButton.SetWindowText(L"");
  m_modeButton.SetButtonImage(IDB_MODE_BUTTON, module, false, true);

  m_statusLine.SetTextFormat(257);
  m_statusLine.SetTextFont(26, L"微软雅黑");
  m_statusLine.EnableWindow(FALSE);
  m_statusLine.SetBackGroundColor(0);
  m_statusLine.SetTextColor(kGrey);

  m_statusText.SetTextFormat(4);
  m_statusText.SetTextFont(20, L"微软雅黑");
  m_statusText.EnableWindow(FALSE);
  m_statusText.SetBackGroundColor(0);
  m_statusText.SetTextColor(kGrey);

  m_networkIcon.SetWindowText(L"");
  m_networkIcon.SetBackGroundColor(0);
  m_networkIcon.SetImage(module, L"icon_network_disconnected");

  m_spectrum.SetBkColor(0);
  m_spectrum.SetBarColor(kGrey);
  m_spectrum.SetBarCount(76);
  m_spectrum.SetFrequencyRange(0, 1520);
  m_spectrum.EnableWindow(FALSE);
  m_spectrum.StartTimer();

  // One half-cycle of the pulse lasts 3 s.
  m_aiAnimate.SetPhaseStep(kPi / (3000 / m_aiAnimate.GetTimerPeriod()));
  m_aiAnimate.SetBkColor(0);
  m_aiAnimate.SetInnerColor(RGB(0, 174, 29));
  m_aiAnimate.SetOuterColor(RGB(9, 109, 24));

  m_replyLine.SetBackGroundColor(0);
  m_replyLine.SetTextFont(30, L"微软雅黑");
  m_replyLine.SetTextColor(RGB(255, 255, 255));
  m_replyLine.SetTextFormat(2);

  m_recognitionBar.SetStep(0);
  m_recognitionBar.SetBkColor(0);
  m_recognitionBar.SetColors(RGB(42, 204, 112), RGB(51, 152, 219));
  m_recognitionBar.ShowWindow(SW_HIDE);
}

void CKelvaneDlg::LayoutControls() {
  CRect client;
  GetClientRect(client);
  const int cw = client.Width();
  const int ch = client.Height();
  struct Place {
    CWnd& control;
    int x, y, width, height;
  };
  const Place places[] = {
      {m_closeButton, 284, 1, 45, 29},
      {m_modeButton, 256, 1, 29, 29},
      {m_statusLine, 45, 1, 205, 29},
      {m_spectrum, 11, ch - 77, cw - 27, 53},
      {m_statusText, 229, ch - 22, cw - 253, 14},
      {m_networkIcon, 313, ch - 21, cw - 318, 12},
      {m_recognitionBar, 0, ch - 3, cw, 3},
      {m_aiAnimate, 125, 80, 80, 80},
      {m_replyLine, 1, 180, cw - 2, 30},
  };
  for (const Place& place : places) {
    MoveWindow(place.control.GetSafeHwnd(), place.x, place.y, place.width, place.height, TRUE);
  }
}

void CKelvaneDlg::RefreshStatusIcons() {
  const HINSTANCE module = AfxGetResourceHandle();
  if (m_online == 1) {
    m_networkIcon.SetImage(module, L"icon_network_connected");
    m_spectrum.SetBarColor(kOnlineBars);
    m_statusIcon.SetImage(module, m_translate ? L"icon_translation" : L"icon_imewidget");
  } else {
    m_networkIcon.SetImage(module, L"icon_network_disconnected");
    m_spectrum.SetBarColor(kGrey);
    m_statusIcon.SetImage(module, m_translate ? L"icon_translation_grey" : L"icon_imewidget_grey");
  }
  m_statusIcon.Redraw();
}
