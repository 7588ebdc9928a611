// Doravel.exe as a process: single instance, its loop, its exit.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ProcessDriver.h"
#include "base/ModuleDirectory.h"

namespace {

TEST(DoravelProcess, SecondInstanceLeavesAtOnceAndTheFirstEndsCleanlyOnQuit) {
  const std::wstring exe = base::GetCurrentModuleDirectory() + L"Doravel.exe";
  Program first(exe);
  ASSERT_TRUE(first.started());
  ASSERT_TRUE(first.WaitUntilIdle()) << "the first instance never reached its message loop";

  Program second(exe);
  ASSERT_TRUE(second.started());
  ASSERT_TRUE(second.Exited());
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_FALSE(first.Exited(0)) << "the first instance was disturbed";

  ASSERT_TRUE(first.PostQuit());
  ASSERT_TRUE(first.Exited());
  EXPECT_EQ(first.ExitCode(), 0u);
}

}  // namespace
