// The application: one copy at a time; it runs the main panel and ends with it.
#pragma once

#include "mfc/AfxWinApp.h"

class CKelvaneApp : public CWinApp {
 public:
  static constexpr wchar_t kMutexName[] = L"KELVANE_MUTEX";

  CKelvaneApp() : CWinApp(nullptr) {}

  BOOL InitInstance() override;

 protected:
  std::vector<CommandEntry> GetCommandMap() const override;
};
