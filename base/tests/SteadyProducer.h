#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "base/MessageLoopProxy.h"

// Keeps a loop busy from another thread until destroyed: about every millisecond it tops the
// loop's queue up to 200 of its tasks, each busy for the given time. The backlog stays
// bounded, so a loop that keeps up goes idle between top-ups and one that does not always
// has work queued.
class SteadyProducer {
 public:
  explicit SteadyProducer(std::shared_ptr<base::MessageLoopProxy> proxy,
                          std::chrono::microseconds task_time = std::chrono::microseconds(0))
      : thread_([this, proxy = std::move(proxy), task_time] {
          while (!stop_) {
            while (*queued_ < kBacklog) {
              ++*queued_;
              proxy->PostTask([queued = queued_, task_time] {
                const auto until = std::chrono::steady_clock::now() + task_time;
                while (std::chrono::steady_clock::now() < until) {
                }
                --*queued;
              });
            }
            Sleep(1);
          }
        }) {}
  ~SteadyProducer() {
    stop_ = true;
    thread_.join();
  }
  SteadyProducer(const SteadyProducer&) = delete;
  SteadyProducer& operator=(const SteadyProducer&) = delete;

 private:
  static constexpr int kBacklog = 200;

  std::atomic<bool> stop_{false};
  std::shared_ptr<std::atomic<int>> queued_ = std::make_shared<std::atomic<int>>(0);
  std::thread thread_;
};
