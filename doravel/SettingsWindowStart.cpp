#include "SettingsWindowStart.h"

#include "SkinArchive.h"
#include "resources/GlobalManager.h"

void OpenSkinAndShowSettingsWindow() {
  OpenSkinArchive();
  ui::GlobalManager::Startup(L"resources\\", ui::CreateControlCallback(), L"themes\\default", L"lang\\zh_CN");
}

void CloseSkinAndShutDownFramework() { ui::GlobalManager::Shutdown(); }
