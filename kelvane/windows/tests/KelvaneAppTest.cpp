// The application's start-up run in the test's process: the panel runs modally between the
// shell manager's creation and deletion, with the Windows look, and help reaches the
// application.
#include "KelvaneApp.h"

#include <gtest/gtest.h>

#include <vector>

#include "KelvaneDlg.h"
#include "mfc/AfxShellManager.h"
#include "mfc/AfxVisualManager.h"

namespace {

// Records the help requests instead of opening a help file.
class RecordingApp : public CKelvaneApp {
 public:
  void WinHelp(DWORD_PTR data, UINT command) override { helpCommands.push_back(command); }
  std::vector<UINT> helpCommands;
};

// What was true while the panel ran.
struct WhileRunning {
  bool shellManager = false;
  bool windowsLook = false;
} g_whileRunning;

HWND OwnPanel() {
  const HWND panel = FindWindowW(nullptr, kMainWindowTitle);
  DWORD process = 0;
  GetWindowThreadProcessId(panel, &process);
  return process == GetCurrentProcessId() ? panel : nullptr;
}

// On the panel's thread, inside its modal loop: looks, asks for help, then exits.
void CALLBACK OnceThePanelRuns(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND panel = OwnPanel();
  if (panel == nullptr) return;
  KillTimer(nullptr, timer);
  g_whileRunning.shellManager = AfxGetShellManager() != nullptr;
  g_whileRunning.windowsLook =
      dynamic_cast<CMFCVisualManagerWindows*>(CMFCVisualManager::GetInstance()) != nullptr;
  SendMessageW(panel, WM_COMMAND, ID_HELP, 0);
  PostMessageW(panel, WM_COMMAND, ID_TRAY_EXIT, 0);
}

TEST(KelvaneAppTest, RunsThePanelWithTheShellManagerAndTheWindowsLookAndRoutesHelp) {
  RecordingApp app;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &OnceThePanelRuns);
  EXPECT_FALSE(app.InitInstance());  // no message loop of its own after the panel
  KillTimer(nullptr, timer);
  EXPECT_TRUE(g_whileRunning.shellManager);
  EXPECT_TRUE(g_whileRunning.windowsLook);
  EXPECT_EQ(AfxGetShellManager(), nullptr) << "deleted after the panel ended";
  EXPECT_EQ(app.helpCommands, std::vector<UINT>{HELP_FINDER});
  EXPECT_EQ(app.m_pMainWnd, nullptr);
}

}  // namespace
