// Task throughput and latency of the three loop kinds beside plain Windows and standard
// library queues, in one run:
//   loop_bench.exe [--quick]
// Throughput: one producer posts a run of tasks as fast as it can; tasks/s is the run's
// length over the time from the first post to the last task's end, best of three. Latency: the producer
// posts at a steady 20 000 tasks/s; p50 and p99 of the time from post to run.
#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "base/FrameworkThread.h"
#include "base/MessageLoopProxy.h"

namespace {

int64_t NowTicks() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double TicksToMicroseconds(int64_t ticks) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return static_cast<double>(ticks) * 1e6 / frequency;
}

// What every task of one run does, on the consumer's thread.
class Probe {
 public:
  Probe(int tasks, bool record_latency) : remaining_(tasks), record_latency_(record_latency) {
    if (record_latency) latencies_.reserve(tasks);
  }
  ~Probe() { CloseHandle(done_); }

  void Run(int64_t posted_at) {
    const int64_t now = NowTicks();
    if (record_latency_) latencies_.push_back(now - posted_at);
    if (--remaining_ == 0) {
      last_run_ = now;
      SetEvent(done_);
    }
  }
  bool WaitDone() { return WaitForSingleObject(done_, 120000) == WAIT_OBJECT_0; }
  int64_t last_run() const { return last_run_; }
  std::vector<int64_t>& latencies() { return latencies_; }

 private:
  HANDLE done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  int remaining_;
  bool record_latency_;
  int64_t last_run_ = 0;
  std::vector<int64_t> latencies_;
};

class Target {
 public:
  virtual ~Target() = default;
  // From the producer's thread.
  virtual void Post(Probe* probe, int64_t posted_at) = 0;
};

class LoopTarget : public Target {
 public:
  explicit LoopTarget(base::MessageLoop::Type type) : thread_("loop_bench") {
    thread_.StartWithLoop(type);
    proxy_ = thread_.message_loop()->message_loop_proxy();
  }
  ~LoopTarget() override { thread_.StopAndJoin(); }

  void Post(Probe* probe, int64_t posted_at) override {
    proxy_->PostTask([probe, posted_at] { probe->Run(posted_at); });
  }

 private:
  base::FrameworkThread thread_;
  std::shared_ptr<base::MessageLoopProxy> proxy_;
};

// A thread that takes PostThreadMessageW messages with GetMessageW.
class ThreadMessageTarget : public Target {
 public:
  ThreadMessageTarget() {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this, ready] {
      MSG message;
      PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the queue
      thread_id_ = GetCurrentThreadId();
      SetEvent(ready);
      while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_APP)
          reinterpret_cast<Probe*>(message.lParam)->Run(static_cast<int64_t>(message.wParam));
      }
    });
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
  }
  ~ThreadMessageTarget() override {
    PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }

  void Post(Probe* probe, int64_t posted_at) override {
    // A full queue refuses the message; try again once the consumer has made room.
    while (!PostThreadMessageW(thread_id_, WM_APP, static_cast<WPARAM>(posted_at), reinterpret_cast<LPARAM>(probe)))
      Sleep(0);
  }

 private:
  std::thread thread_;
  DWORD thread_id_ = 0;
};

// A thread that takes packets from an IO completion port.
class CompletionPortTarget : public Target {
 public:
  CompletionPortTarget() : port_(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1)) {
    thread_ = std::thread([this] {
      DWORD bytes;
      ULONG_PTR key;
      OVERLAPPED* overlapped;
      while (GetQueuedCompletionStatus(port_, &bytes, &key, &overlapped, INFINITE) && key != 0)
        reinterpret_cast<Probe*>(key)->Run(reinterpret_cast<int64_t>(overlapped));
    });
  }
  ~CompletionPortTarget() override {
    PostQueuedCompletionStatus(port_, 0, 0, nullptr);
    thread_.join();
    CloseHandle(port_);
  }

  void Post(Probe* probe, int64_t posted_at) override {
    PostQueuedCompletionStatus(port_, 0, reinterpret_cast<ULONG_PTR>(probe), reinterpret_cast<OVERLAPPED*>(posted_at));
  }

 private:
  HANDLE port_;
  std::thread thread_;
};

// A queue of closures under a mutex, with a condition variable to wake its one consumer.
class ConditionVariableTarget : public Target {
 public:
  ConditionVariableTarget() {
    thread_ = std::thread([this] {
      for (;;) {
        std::unique_lock<std::mutex> hold(mutex_);
        wake_.wait(hold, [this] { return quit_ || !queue_.empty(); });
        if (queue_.empty()) return;
        std::function<void()> task = std::move(queue_.front());
        queue_.pop_front();
        hold.unlock();
        task();
      }
    });
  }
  ~ConditionVariableTarget() override {
    {
      std::lock_guard<std::mutex> hold(mutex_);
      quit_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }

  void Post(Probe* probe, int64_t posted_at) override {
    {
      std::lock_guard<std::mutex> hold(mutex_);
      queue_.push_back([probe, posted_at] { probe->Run(posted_at); });
    }
    wake_.notify_one();
  }

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> queue_;
  bool quit_ = false;
  std::thread thread_;
};

struct Figures {
  double tasks_per_second = 0;
  double p50_us = 0;
  double p99_us = 0;
};

double MeasureThroughput(Target& target, int tasks) {
  Probe probe(tasks, false);
  const int64_t start = NowTicks();
  for (int i = 0; i < tasks; ++i) target.Post(&probe, start);
  if (!probe.WaitDone()) return 0;
  return tasks / (TicksToMicroseconds(probe.last_run() - start) / 1e6);
}

void MeasureLatency(Target& target, int tasks, Figures* figures) {
  constexpr double kIntervalUs = 50;  // 20 000 tasks/s
  Probe probe(tasks, true);
  const int64_t start = NowTicks();
  for (int i = 0; i < tasks; ++i) {
    while (TicksToMicroseconds(NowTicks() - start) < i * kIntervalUs) {
    }
    target.Post(&probe, NowTicks());
  }
  if (!probe.WaitDone()) return;
  std::vector<int64_t>& latencies = probe.latencies();
  std::sort(latencies.begin(), latencies.end());
  figures->p50_us = TicksToMicroseconds(latencies[latencies.size() / 2]);
  figures->p99_us = TicksToMicroseconds(latencies[latencies.size() * 99 / 100]);
}

Figures Measure(const char* name, const std::function<std::unique_ptr<Target>()>& make, int throughput_tasks,
                int latency_tasks) {
  Figures figures;
  {
    auto target = make();
    MeasureThroughput(*target, throughput_tasks / 10);  // warm-up
    // The best of a few runs: other work on the machine only ever slows a run down.
    for (int run = 0; run < 3; ++run)
      figures.tasks_per_second = std::max(figures.tasks_per_second, MeasureThroughput(*target, throughput_tasks));
  }
  {
    auto target = make();
    MeasureLatency(*target, latency_tasks, &figures);
  }
  std::printf("%-28s %12.0f %10.1f %10.1f\n", name, figures.tasks_per_second, figures.p50_us, figures.p99_us);
  std::fflush(stdout);
  return figures;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool quick = argc > 1 && std::wcscmp(argv[1], L"--quick") == 0;
  const int throughput_tasks = quick ? 2000 : 100000;
  const int latency_tasks = quick ? 200 : 20000;

  std::printf("%-28s %12s %10s %10s\n", "queue", "tasks/s", "p50 us", "p99 us");
  const auto loop = [](base::MessageLoop::Type type) {
    return [type] { return std::unique_ptr<Target>(new LoopTarget(type)); };
  };
  const Figures thread_messages = Measure(
      "PostThreadMessageW loop", [] { return std::unique_ptr<Target>(new ThreadMessageTarget); }, throughput_tasks,
      latency_tasks);
  const Figures ui = Measure("UI loop", loop(base::MessageLoop::kUIMessageLoop), throughput_tasks, latency_tasks);
  const Figures port = Measure(
      "completion-port loop", [] { return std::unique_ptr<Target>(new CompletionPortTarget); }, throughput_tasks,
      latency_tasks);
  const Figures io = Measure("IO loop", loop(base::MessageLoop::kIOMessageLoop), throughput_tasks, latency_tasks);
  const Figures condition = Measure(
      "mutex + condition variable", [] { return std::unique_ptr<Target>(new ConditionVariableTarget); },
      throughput_tasks, latency_tasks);
  const Figures plain =
      Measure("default loop", loop(base::MessageLoop::kDefaultMessageLoop), throughput_tasks, latency_tasks);

  std::printf("\nthroughput ratios: UI / PostThreadMessageW %.2fx, IO / completion port %.2fx, "
              "default / condition variable %.2fx\n",
              ui.tasks_per_second / thread_messages.tasks_per_second, io.tasks_per_second / port.tasks_per_second,
              plain.tasks_per_second / condition.tasks_per_second);
  return 0;
}
