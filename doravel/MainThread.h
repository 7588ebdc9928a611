#pragma once

#include <memory>

#include "MiscThread.h"
#include "base/FrameworkThread.h"

// The UI thread (thread 0): it runs on the process's main thread, starts the misc
// thread and the settings window, and tears both down once the UI loop has ended.
class MainThread : public base::FrameworkThread {
 public:
  MainThread();
  ~MainThread() override = default;

 protected:
  void Init() override;
  void Cleanup() override;

  MiscThread* misc_thread() const { return misc_thread_.get(); }

 private:
  std::unique_ptr<MiscThread> misc_thread_;
};
