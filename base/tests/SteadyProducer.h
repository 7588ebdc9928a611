#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "base/MessageLoopProxy.h"

// Keeps a loop busy from another thread until destroyed: about every millisecond it tops the
// loop's queue up to 200 of its tasks, each busy for the given time. The backlog stays
// bounded, so a loop that runs 200 tasks within a top-up's interval goes idle between top-ups
// and one that does not always has work queued. With kOnceRun it tops up only once all of its
// earlier tasks have run: the loop outpaces it whatever the loop's speed, its queue running
// dry between top-ups.
class SteadyProducer {
 public:
  enum class Refill { kEveryMillisecond, kOnceRun };

  explicit SteadyProducer(std::shared_ptr<base::MessageLoopProxy> proxy,
                          std::chrono::microseconds task_time = std::chrono::microseconds(0),
                          Refill refill = Refill::kEveryMillisecond)
      : thread_([this, proxy = std::move(proxy), task_time, refill] {
          const auto post = [&] {
            ++*queued_;
            proxy->PostTask([queued = queued_, task_time] {
              const auto until = std::chrono::steady_clock::now() + task_time;
              while (std::chrono::steady_clock::now() < until) {
              }
              --*queued;
            });
          };
          while (!stop_) {
            if (refill == Refill::kEveryMillisecond) {
              while (*queued_ < kBacklog) post();
            } else if (*queued_ == 0) {
              for (int i = 0; i < kBacklog; ++i) post();
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
