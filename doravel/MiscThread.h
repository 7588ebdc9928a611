#pragma once

#include "base/FrameworkThread.h"

// The idle worker thread, registered as thread 1 while its loop runs.
class MiscThread : public base::FrameworkThread {
 public:
  MiscThread();
  ~MiscThread() override = default;

 protected:
  void Init() override;
  void Cleanup() override;

 private:
  int thread_identifier_;
};
