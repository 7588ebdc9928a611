// What the benchmark's measurements share: the clock, waits, spreads, and Kelvane.exe run
// beside the benchmark as its own process.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "UnixProcessTimes.h"

// ms of the performance counter.
double Now();
// Polls every ms; false after the time-out.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000);
// Prints the failure; returns false.
bool Fail(const char* what);

struct Spread {
  double min, median, max;
};
Spread SpreadOf(std::vector<double> values);

// Kelvane.exe from the benchmark's folder, with its panel and its Unix process found; the
// tray's exit ends it (killed when that does not end it within 20 s).
class KelvaneProgram {
 public:
  KelvaneProgram();
  ~KelvaneProgram();
  KelvaneProgram(const KelvaneProgram&) = delete;
  KelvaneProgram& operator=(const KelvaneProgram&) = delete;

  // False, with the reason printed, when the program, its panel or its Unix process is missing.
  bool Ready() const;
  HWND panel() const { return panel_; }
  const UnixProcessTimes& process() const { return unix_; }
  // Posts the tray's exit; ms until the process ended, negative when it did not within 20 s.
  double Exit();

 private:
  PROCESS_INFORMATION info_{};
  HWND panel_ = nullptr;
  UnixProcessTimes unix_;
  bool found_ = false;
  bool exited_ = false;
};
