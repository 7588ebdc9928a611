// The main panel created in the test's own process, on a settings folder of its own, with a
// service that finds no devices, no voice and a network the test sets.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "KelvaneDlg.h"
#include "RecordingOwner.h"  // PumpUntil
#include "TempFolder.h"
#include "skivra/SkinLabel.h"
#include "skivra/Skivra.h"

class PanelFixture : public testing::Test {
 protected:
  PanelFixture() {
    // As in the program: GDI+ stays up for the process (Wine's GDI+ restarted between panels
    // has crashed drawing text).
    InitSkivra();
    SetSkinMessageBoxHook([this](const std::wstring& text) { boxes_.push_back(text); });
    dialog_.SetSettingsFolder(folder_.path());
    dialog_.SetServiceSetup([this](CIMEService& service) {
      ++servicesStarted_;
      service.SetNetworkCheck([this] { return networkCheck_ ? networkCheck_() : 0; });
      service.Speech().SetVoiceFactory([](ISpVoice**) { return E_FAIL; });
    });
  }
  ~PanelFixture() override {
    if (dialog_.GetSafeHwnd()) dialog_.DestroyWindow();
    SetSkinMessageBoxHook(nullptr);
  }

  void CreatePanel() {
    ASSERT_TRUE(dialog_.Create(IDD_KELVANE_DIALOG));
    panel_ = dialog_.GetSafeHwnd();
  }
  // Waits for the service's first status report (network and translation) to be shown.
  bool WaitForServiceStatus() {
    return PumpUntil([&] { return LabelText(IDC_STATUS_TEXT) != L"未就绪"; });
  }
  CSkinLabel& Label(int id) {
    return *dynamic_cast<CSkinLabel*>(CWnd::FromHandlePermanent(GetDlgItem(panel_, id)));
  }
  std::wstring Text(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
  }
  std::wstring LabelText(int id) { return Text(GetDlgItem(panel_, id)); }
  // The status icon: the layered window the panel owns.
  HWND StatusIcon() {
    struct Search {
      HWND owner;
      HWND found;
    } search{panel_, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) {
          auto* s = reinterpret_cast<Search*>(data);
          if (GetWindow(window, GW_OWNER) == s->owner &&
              (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED)) {
            s->found = window;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  // Lets the panel handle what is queued for it.
  void Pump() { PumpUntil([] { return false; }, 50); }

  TempFolder folder_;
  CKelvaneDlg dialog_;
  HWND panel_ = nullptr;
  std::vector<std::wstring> boxes_;
  std::atomic<int> servicesStarted_{0};
  std::function<int()> networkCheck_;
};
