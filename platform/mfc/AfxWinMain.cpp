// The entry point of a program built on CWinApp; linked only into programs that have no
// entry point of their own.
#include "mfc/AfxWinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return 1;
  app->m_hInstance = instance;
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}
