#include "SettingsWindowStart.h"

#include <windows.h>

#include "SkinArchive.h"
#include "resources/GlobalManager.h"
#include "form/ControlForm.h"

namespace {

// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU
constexpr DWORD kSettingsWindowStyle = 0x96C80000;

}  // namespace

void OpenSkinAndShowSettingsWindow() {
  OpenSkinArchive();
  ui::GlobalManager::Startup(L"resources\\", ui::CreateControlCallback(), L"themes\\default", L"lang\\zh_CN");
  auto* form = new ControlForm;
  if (!form->Create(nullptr, kSettingsWindowName, kSettingsWindowStyle, WS_EX_WINDOWEDGE, true, RECT{})) {
    // The skin did not build and its error box has been shown: there is nothing to show,
    // so the tool ends rather than run on invisibly holding its single-instance mutex.
    PostQuitMessage(0);
    return;
  }
  form->CenterWindow();
  form->ShowWindow(true, true);
}

void CloseSkinAndShutDownFramework() { ui::GlobalManager::Shutdown(); }
