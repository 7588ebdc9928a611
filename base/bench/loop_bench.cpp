// Task throughput and latency of the three loop kinds beside hand-written peers, in one run:
//   loop_bench.exe [--quick]
// Each loop has two peers: one that makes a system call per task (a plain PostThreadMessageW
// loop, a plain completion-port loop, a mutex + condition-variable queue), and one that
// batches (a mutex-guarded queue that sends one wake-up message, packet or event signal only
// when it goes from empty to non-empty; the consumer swaps the whole queue out and runs it).
// The rounds are interleaved: each repetition measures every target once, throughput first,
// then latency, so load on the machine falls on all of them alike.
// Throughput: one producer posts a run of tasks as fast as it can; tasks/s is the run's length
// over the time from the first post to the last task's end. A warm-up sizes each target's
// runs to take about 0.2 s. Latency: the producer posts at a
// steady rate that every target carries; p50 and p99 of the time from post to run.
// Stop: each repetition also starts each loop kind on a thread of its own, runs one bounded
// producer against it for 100 ms and times the loop's StopAndJoin. Two producers: one tops the
// queue up to 200 of its tasks about every millisecond, one posts 200 more only once the loop
// has run the earlier ones.
// Printed: min / median / max over the repetitions, of each figure and of each loop's ratios.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "base/FrameworkThread.h"
#include "base/MessageLoopProxy.h"
#include "base/tests/SteadyProducer.h"

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

// A thread that takes PostThreadMessageW messages with GetMessageW and hands each WM_APP on.
class ThreadMessageConsumer {
 public:
  explicit ThreadMessageConsumer(std::function<void(WPARAM, LPARAM)> on_message) {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this, ready, on_message = std::move(on_message)] {
      MSG message;
      PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the queue
      thread_id_ = GetCurrentThreadId();
      SetEvent(ready);
      while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_APP) on_message(message.wParam, message.lParam);
      }
    });
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
  }
  ~ThreadMessageConsumer() {
    PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }

  void Post(WPARAM wparam, LPARAM lparam) {
    // A full queue refuses the message; try again once the consumer has made room.
    while (!PostThreadMessageW(thread_id_, WM_APP, wparam, lparam)) Sleep(0);
  }

 private:
  std::thread thread_;
  DWORD thread_id_ = 0;
};

// A thread that takes packets from an IO completion port and hands each on; key 0 ends it.
class CompletionPortConsumer {
 public:
  explicit CompletionPortConsumer(std::function<void(ULONG_PTR, OVERLAPPED*)> on_packet)
      : port_(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1)) {
    thread_ = std::thread([this, on_packet = std::move(on_packet)] {
      DWORD bytes;
      ULONG_PTR key;
      OVERLAPPED* overlapped;
      while (GetQueuedCompletionStatus(port_, &bytes, &key, &overlapped, INFINITE) && key != 0)
        on_packet(key, overlapped);
    });
  }
  ~CompletionPortConsumer() {
    PostQueuedCompletionStatus(port_, 0, 0, nullptr);
    thread_.join();
    CloseHandle(port_);
  }

  void Post(ULONG_PTR key, OVERLAPPED* overlapped) { PostQueuedCompletionStatus(port_, 0, key, overlapped); }

 private:
  HANDLE port_;
  std::thread thread_;
};

// One PostThreadMessageW per task.
class ThreadMessageTarget : public Target {
 public:
  void Post(Probe* probe, int64_t posted_at) override {
    consumer_.Post(static_cast<WPARAM>(posted_at), reinterpret_cast<LPARAM>(probe));
  }

 private:
  ThreadMessageConsumer consumer_{
      [](WPARAM posted_at, LPARAM probe) { reinterpret_cast<Probe*>(probe)->Run(static_cast<int64_t>(posted_at)); }};
};

// One completion packet per task.
class CompletionPortTarget : public Target {
 public:
  void Post(Probe* probe, int64_t posted_at) override {
    consumer_.Post(reinterpret_cast<ULONG_PTR>(probe), reinterpret_cast<OVERLAPPED*>(posted_at));
  }

 private:
  CompletionPortConsumer consumer_{[](ULONG_PTR probe, OVERLAPPED* posted_at) {
    reinterpret_cast<Probe*>(probe)->Run(reinterpret_cast<int64_t>(posted_at));
  }};
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

// The batching peer: tasks gather in a vector under a mutex; only the post that finds it
// empty wakes the consumer, which swaps the whole vector out and runs it.
class BatchedTarget : public Target {
 public:
  void Post(Probe* probe, int64_t posted_at) override {
    bool was_empty;
    {
      std::lock_guard<std::mutex> hold(mutex_);
      was_empty = queue_.empty();
      queue_.push_back([probe, posted_at] { probe->Run(posted_at); });
    }
    if (was_empty) Wake();
  }

 protected:
  virtual void Wake() = 0;

  // On the consumer's thread, once per wake-up.
  void RunQueued() {
    {
      std::lock_guard<std::mutex> hold(mutex_);
      running_.swap(queue_);
    }
    for (std::function<void()>& task : running_) task();
    running_.clear();
  }

 private:
  std::mutex mutex_;
  std::vector<std::function<void()>> queue_;    // guarded by mutex_
  std::vector<std::function<void()>> running_;  // consumer's thread only
};

// Wakes its consumer with one PostThreadMessageW.
class BatchedThreadMessageTarget : public BatchedTarget {
 private:
  void Wake() override { consumer_.Post(0, 0); }

  // Ends its thread before the base's queues go.
  ThreadMessageConsumer consumer_{[this](WPARAM, LPARAM) { RunQueued(); }};
};

// Wakes its consumer with one completion packet.
class BatchedCompletionPortTarget : public BatchedTarget {
 private:
  void Wake() override { consumer_.Post(1, nullptr); }

  // Ends its thread before the base's queues go.
  CompletionPortConsumer consumer_{[this](ULONG_PTR, OVERLAPPED*) { RunQueued(); }};
};

// Wakes its consumer by setting an auto-reset event.
class BatchedEventTarget : public BatchedTarget {
 public:
  BatchedEventTarget() {
    thread_ = std::thread([this] {
      while (WaitForSingleObject(event_, INFINITE) == WAIT_OBJECT_0 && !quit_) RunQueued();
    });
  }
  ~BatchedEventTarget() override {
    quit_ = true;
    SetEvent(event_);
    thread_.join();
    CloseHandle(event_);
  }

 private:
  void Wake() override { SetEvent(event_); }

  HANDLE event_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  std::atomic<bool> quit_{false};
  std::thread thread_;
};

double MeasureThroughput(Target& target, int tasks) {
  Probe probe(tasks, false);
  const int64_t start = NowTicks();
  for (int i = 0; i < tasks; ++i) target.Post(&probe, start);
  if (!probe.WaitDone()) return 0;
  return tasks / (TicksToMicroseconds(probe.last_run() - start) / 1e6);
}

struct Latency {
  double p50_us = 0;
  double p99_us = 0;
};

Latency MeasureLatency(Target& target, int tasks, double tasks_per_second) {
  const double interval_us = 1e6 / tasks_per_second;
  Probe probe(tasks, true);
  const int64_t start = NowTicks();
  for (int i = 0; i < tasks; ++i) {
    while (TicksToMicroseconds(NowTicks() - start) < i * interval_us) {
    }
    target.Post(&probe, NowTicks());
  }
  if (!probe.WaitDone()) return Latency();
  std::vector<int64_t>& latencies = probe.latencies();
  std::sort(latencies.begin(), latencies.end());
  return {TicksToMicroseconds(latencies[latencies.size() / 2]),
          TicksToMicroseconds(latencies[latencies.size() * 99 / 100])};
}

// Milliseconds from asking the loop to stop to its thread's end, under a bounded producer.
constexpr DWORD kStopGiveUpMs = 10000;
double MeasureStopUnderProducer(base::MessageLoop::Type type, SteadyProducer::Refill refill) {
  base::FrameworkThread thread("loop_bench stop");
  if (!thread.StartWithLoop(type)) {
    std::fprintf(stderr, "loop_bench: a loop thread could not start\n");
    std::exit(1);
  }
  auto producer =
      std::make_unique<SteadyProducer>(thread.message_loop()->message_loop_proxy(), std::chrono::microseconds(0), refill);
  Sleep(100);
  const int64_t asked = NowTicks();
  thread.Stop();
  WaitForSingleObject(thread.thread_handle(), kStopGiveUpMs);
  const double stop_ms = TicksToMicroseconds(NowTicks() - asked) / 1000;
  // A loop still running after the give-up time stops once its producer does.
  producer.reset();
  thread.StopAndJoin();
  return stop_ms;
}

constexpr int kWarmUpTasks = 2000;
constexpr int kMaxTasksPerRun = 1000000;

// One figure over the repetitions.
class Spread {
 public:
  void Add(double value) { values_.push_back(value); }
  double Min() const { return *std::min_element(values_.begin(), values_.end()); }
  double Max() const { return *std::max_element(values_.begin(), values_.end()); }
  double Median() const {
    std::vector<double> sorted = values_;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
  }
  double At(size_t repetition) const { return values_[repetition]; }
  size_t Size() const { return values_.size(); }

 private:
  std::vector<double> values_;
};

Spread Ratios(const Spread& numerators, const Spread& denominators) {
  Spread ratios;
  for (size_t i = 0; i < numerators.Size(); ++i) ratios.Add(numerators.At(i) / denominators.At(i));
  return ratios;
}

struct Measured {
  Measured(const char* target_name, std::unique_ptr<Target> measured_target)
      : name(target_name), target(std::move(measured_target)) {}

  const char* name;
  std::unique_ptr<Target> target;
  int throughput_tasks = 0;
  Spread tasks_per_second;
  Spread p50_us;
  Spread p99_us;
};

// The machine's load as Linux reports it (the Unix root is drive Z: under Wine).
void PrintLoad(const char* when) {
  char load[128] = "";
  if (FILE* file = std::fopen("Z:\\proc\\loadavg", "r")) {
    if (!std::fgets(load, sizeof load, file)) load[0] = '\0';
    std::fclose(file);
  }
  std::printf("load %s: %s%s", when, load[0] ? load : "unknown", load[0] ? "" : "\n");
}

void PrintSpread(const char* format, const Spread& spread) {
  std::printf(format, spread.Min(), spread.Median(), spread.Max());
}

// StopAndJoin of one loop kind under one producer, over the repetitions.
struct StopCase {
  const char* loop;
  base::MessageLoop::Type type;
  const char* producer;
  SteadyProducer::Refill refill;
  Spread stop_ms;
};

std::vector<StopCase> StopCases() {
  const std::pair<const char*, base::MessageLoop::Type> loops[] = {
      {"UI loop", base::MessageLoop::kUIMessageLoop},
      {"IO loop", base::MessageLoop::kIOMessageLoop},
      {"default loop", base::MessageLoop::kDefaultMessageLoop},
  };
  const std::pair<const char*, SteadyProducer::Refill> producers[] = {
      {"200 queued, topped up every ms", SteadyProducer::Refill::kEveryMillisecond},
      {"200 more once they have run", SteadyProducer::Refill::kOnceRun},
  };
  std::vector<StopCase> cases;
  for (const auto& producer : producers) {
    for (const auto& loop : loops) cases.push_back({loop.first, loop.second, producer.first, producer.second, {}});
  }
  return cases;
}

// Interleaved like the other rounds: each repetition starts at another case.
void MeasureStops(std::vector<StopCase>& cases, int repetitions) {
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    for (size_t i = 0; i < cases.size(); ++i) {
      StopCase& measured = cases[(i + repetition) % cases.size()];
      measured.stop_ms.Add(MeasureStopUnderProducer(measured.type, measured.refill));
    }
  }
}

void PrintStops(const std::vector<StopCase>& cases) {
  std::printf("\nStopAndJoin under one bounded producer, ms (gives up at %lu)\n", kStopGiveUpMs);
  for (const StopCase& measured : cases) {
    std::printf("%-14s %-32s ", measured.loop, measured.producer);
    PrintSpread("%8.1f %8.1f %8.1f\n", measured.stop_ms);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool quick = argc > 1 && std::wcscmp(argv[1], L"--quick") == 0;
  const int repetitions = quick ? 3 : 15;
  const double run_seconds = quick ? 0.01 : 0.2;  // of each throughput run
  const double latency_rate = 1000;  // tasks/s
  const int latency_tasks = quick ? 200 : 1000;

  const auto loop = [](base::MessageLoop::Type type) { return std::make_unique<LoopTarget>(type); };
  // Per loop kind: the loop, its batching peer, its per-task peer.
  Measured targets[] = {
      {"UI loop", loop(base::MessageLoop::kUIMessageLoop)},
      {"batched PostThreadMessageW", std::make_unique<BatchedThreadMessageTarget>()},
      {"PostThreadMessageW per task", std::make_unique<ThreadMessageTarget>()},
      {"IO loop", loop(base::MessageLoop::kIOMessageLoop)},
      {"batched completion port", std::make_unique<BatchedCompletionPortTarget>()},
      {"completion port per task", std::make_unique<CompletionPortTarget>()},
      {"default loop", loop(base::MessageLoop::kDefaultMessageLoop)},
      {"batched event", std::make_unique<BatchedEventTarget>()},
      {"condition variable per task", std::make_unique<ConditionVariableTarget>()},
  };
  constexpr size_t kTargets = sizeof targets / sizeof targets[0];

  std::vector<StopCase> stops = StopCases();

  PrintLoad("before");
  // Warm-up, which also sizes each target's runs to about the same time.
  for (Measured& measured : targets) {
    const double rate = MeasureThroughput(*measured.target, kWarmUpTasks);
    measured.throughput_tasks = std::clamp(static_cast<int>(rate * run_seconds), kWarmUpTasks, kMaxTasksPerRun);
  }
  // Each repetition starts at another target, so none always runs first or last.
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    for (size_t i = 0; i < kTargets; ++i) {
      Measured& measured = targets[(i + repetition) % kTargets];
      measured.tasks_per_second.Add(MeasureThroughput(*measured.target, measured.throughput_tasks));
    }
    for (size_t i = 0; i < kTargets; ++i) {
      Measured& measured = targets[(i + repetition) % kTargets];
      const Latency latency = MeasureLatency(*measured.target, latency_tasks, latency_rate);
      measured.p50_us.Add(latency.p50_us);
      measured.p99_us.Add(latency.p99_us);
    }
  }
  MeasureStops(stops, repetitions);
  PrintLoad("after");

  std::printf("\n%d repetitions; min / median / max. Latency at %.0f tasks/s.\n", repetitions, latency_rate);
  std::printf("%-28s %-32s %-26s %-26s\n", "queue", "tasks/s", "p50 us", "p99 us");
  for (const Measured& measured : targets) {
    std::printf("%-28s ", measured.name);
    PrintSpread("%10.0f %10.0f %10.0f ", measured.tasks_per_second);
    PrintSpread("%8.1f %8.1f %8.1f ", measured.p50_us);
    PrintSpread("%8.1f %8.1f %8.1f\n", measured.p99_us);
    if (measured.tasks_per_second.Min() < 2 * latency_rate)
      std::printf("  (its slowest run carried less than twice the latency rate: queueing in its latency)\n");
  }

  PrintStops(stops);

  std::printf("\nratios, each repetition's loop over its peer in that repetition\n");
  std::printf("%-14s %-28s %-26s %-26s\n", "loop", "peer", "throughput", "p50 latency");
  for (size_t kind = 0; kind < kTargets; kind += 3) {
    const Measured& loop_figures = targets[kind];
    for (size_t peer = kind + 1; peer < kind + 3; ++peer) {
      std::printf("%-14s %-28s ", loop_figures.name, targets[peer].name);
      PrintSpread("%7.3fx %7.3fx %7.3fx   ", Ratios(loop_figures.tasks_per_second, targets[peer].tasks_per_second));
      PrintSpread("%7.2fx %7.2fx %7.2fx\n", Ratios(loop_figures.p50_us, targets[peer].p50_us));
    }
  }
  return 0;
}
