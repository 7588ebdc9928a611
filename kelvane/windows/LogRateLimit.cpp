#include "LogRateLimit.h"

LogRateLimit::Decision LogRateLimit::Note(unsigned long long nowMs) {
  std::lock_guard<std::mutex> guard(lock_);
  if (!started_ || nowMs - intervalStart_ >= intervalMs_) {
    started_ = true;
    intervalStart_ = nowMs;
    linesWritten_ = 0;
  }
  if (linesWritten_ == linesPerInterval_) {
    ++suppressed_;
    return {false, 0};
  }
  ++linesWritten_;
  const unsigned long long suppressed = suppressed_;
  suppressed_ = 0;
  return {true, suppressed};
}
