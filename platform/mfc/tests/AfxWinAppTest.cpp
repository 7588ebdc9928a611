#include <gtest/gtest.h>

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

}  // namespace
