#include <gtest/gtest.h>

#include <vector>

#include "mfc/AfxDialog.h"
#include "mfc/AfxWinApp.h"

namespace {

class CountingApp : public CWinApp {
 public:
  int ExitInstance() override {
    ++exits;
    return CWinApp::ExitInstance();
  }
  int exits = 0;
};

TEST(AfxWinApp, IsTheProcessApplicationWhileItLivesAndRunEndsWithTheQuitCode) {
  {
    CountingApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    PostQuitMessage(7);
    EXPECT_EQ(app.Run(), 7);
    EXPECT_EQ(app.exits, 1);
  }
  EXPECT_EQ(AfxGetApp(), nullptr);
}

// Routes ID_HELP to OnHelp and records the help requests instead of opening a help file.
class HelpApp : public CWinApp {
 public:
  void WinHelp(DWORD_PTR data, UINT command) override { helpCommands.push_back(command); }
  std::vector<UINT> helpCommands;

 protected:
  std::vector<CommandEntry> GetCommandMap() const override {
    return {{ID_HELP, &CWinApp::OnHelp}};
  }
};

TEST(AfxWinApp, CommandsADialogLeavesReachTheApplicationsCommandMap) {
  constexpr UINT kTestDialog = 200;  // AfxDialogTest.rc
  constexpr int kEditId = 201;
  HelpApp app;
  CDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialog));
  const LPARAM edit = reinterpret_cast<LPARAM>(dialog.GetDlgItem(kEditId));
  struct Case {
    const char* what;
    WPARAM wParam;
    LPARAM lParam;
    size_t helps;
  };
  const Case cases[] = {
      {"menu command", MAKEWPARAM(ID_HELP, 0), 0, 1},
      {"accelerator", MAKEWPARAM(ID_HELP, 1), 0, 1},
      {"button click", MAKEWPARAM(ID_HELP, BN_CLICKED), edit, 1},
      {"other notification of a control", MAKEWPARAM(ID_HELP, EN_CHANGE), edit, 0},
      {"command not in the map", MAKEWPARAM(ID_HELP + 1, 0), 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    app.helpCommands.clear();
    dialog.SendMessage(WM_COMMAND, c.wParam, c.lParam);
    EXPECT_EQ(app.helpCommands, std::vector<UINT>(c.helps, HELP_FINDER));
  }
  dialog.DestroyWindow();
}

}  // namespace
