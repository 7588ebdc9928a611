#pragma once

#include <functional>
#include <utility>

#include "base/FrameworkThread.h"

// A framework thread whose Init and Cleanup run the given functions.
class ScriptedThread : public base::FrameworkThread {
 public:
  explicit ScriptedThread(std::function<void()> init = {}, std::function<void()> cleanup = {})
      : base::FrameworkThread("ScriptedThread"), init_(std::move(init)), cleanup_(std::move(cleanup)) {}
  ~ScriptedThread() override { StopAndJoin(); }

 protected:
  void Init() override {
    if (init_) init_();
  }
  void Cleanup() override {
    if (cleanup_) cleanup_();
  }

 private:
  std::function<void()> init_;
  std::function<void()> cleanup_;
};
