// Bounds a log line that outsiders can trigger at will: the first lines of each interval
// are written, the rest only counted, and the count is written once, with the first line let
// through in a later interval.
#pragma once

#include <mutex>

class LogRateLimit {
 public:
  LogRateLimit(unsigned linesPerInterval, unsigned long long intervalMs)
      : linesPerInterval_(linesPerInterval), intervalMs_(intervalMs) {}

  struct Decision {
    bool write;                     // write this line
    unsigned long long suppressed;  // lines held back before it, to be reported first
  };

  // One more occurrence at the time given (ms of a monotonic clock). Safe from any thread.
  Decision Note(unsigned long long nowMs);

 private:
  const unsigned linesPerInterval_;
  const unsigned long long intervalMs_;
  std::mutex lock_;
  bool started_ = false;
  unsigned long long intervalStart_ = 0;
  unsigned linesWritten_ = 0;
  unsigned long long suppressed_ = 0;
};
