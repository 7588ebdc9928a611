// The settings-changed notice to a window titled "Kelvane_MainWnd", answered, hung or absent.
#include "settings/KelvaneNotice.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>

#include "FakeKelvaneWindow.h"

namespace {

TEST(KelvaneNotice, NoWindowMeansNothingToTell) {
  EXPECT_EQ(NotifyKelvaneOfNewSettings(), NoticeOutcome::kNoKelvane);
}

TEST(KelvaneNotice, ARunningKelvaneReceivesTheMessageOnce) {
  FakeKelvane kelvane(/*hung=*/false);
  g_notices = 0;
  EXPECT_EQ(NotifyKelvaneOfNewSettings(), NoticeOutcome::kDelivered);
  EXPECT_EQ(g_notices, 1);
}

TEST(KelvaneNotice, AHungKelvaneIsGivenUpOnWithinTheTimeout) {
  FakeKelvane kelvane(/*hung=*/true);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(NotifyKelvaneOfNewSettings(), NoticeOutcome::kNotAnswered);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kKelvaneNoticeTimeoutMs + 2000));
}

}  // namespace
