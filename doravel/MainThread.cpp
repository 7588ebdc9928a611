#include "MainThread.h"

#include "SettingsWindowStart.h"
#include "base/ThreadManager.h"
#include "base/ThreadRecord.h"

MainThread::MainThread() : base::FrameworkThread("MainThread") {}

void MainThread::Init() {
  // Registered before any window exists.
  base::ThreadManager::RegisterThread(0);
  misc_thread_ = std::make_unique<MiscThread>();
  misc_thread_->StartWithLoop(base::MessageLoop::kDefaultMessageLoop);
  OpenSkinAndShowSettingsWindow();
}

void MainThread::Cleanup() {
  CloseSkinAndShutDownFramework();
  misc_thread_->StopAndJoin();
  misc_thread_.reset();
  if (base::ThreadRecord* record = base::CurrentThreadRecord()) record->quit_properly = true;
  base::ThreadManager::UnregisterThread();
}
