// The UI thread's life inside one process: registrations, the misc thread, the quit.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "MainThread.h"
#include "RegistryProbe.h"
#include "base/ThreadRecord.h"

namespace {

// Notes what holds while the UI thread is up, then quits as the settings window would.
class ObservedMainThread : public MainThread {
 public:
  ~ObservedMainThread() override {
    if (misc_handle) CloseHandle(misc_handle);
  }

  bool ui_registered = false;
  bool misc_registered = false;
  HANDLE misc_handle = nullptr;
  bool quit_properly = false;

 protected:
  void Init() override {
    MainThread::Init();
    ui_registered = !IdentifierIsFree(0);
    misc_registered = !IdentifierIsFree(1);
    DuplicateHandle(GetCurrentProcess(), misc_thread()->thread_handle(), GetCurrentProcess(), &misc_handle,
                    SYNCHRONIZE, FALSE, 0);
    PostQuitMessage(0);
  }
  void Cleanup() override {
    MainThread::Cleanup();
    quit_properly = base::CurrentThreadRecord()->quit_properly;
  }
};

TEST(DoravelStartup, UIThreadRunsUntilQuitThenLeavesNoThreadBehind) {
  ObservedMainThread main_thread;
  // A fresh thread, as the quit message stays posted for enclosing loops.
  std::thread([&] { main_thread.RunOnCurrentThreadWithLoop(base::MessageLoop::kUIMessageLoop); }).join();

  EXPECT_TRUE(main_thread.ui_registered);
  EXPECT_TRUE(main_thread.misc_registered);
  ASSERT_NE(main_thread.misc_handle, nullptr);
  EXPECT_EQ(WaitForSingleObject(main_thread.misc_handle, 0), WAIT_OBJECT_0) << "misc thread still runs";
  EXPECT_TRUE(IdentifierIsFree(0));
  EXPECT_TRUE(IdentifierIsFree(1));
  EXPECT_TRUE(main_thread.quit_properly) << "a quit through WM_QUIT is the UI thread's proper end";
}

}  // namespace
