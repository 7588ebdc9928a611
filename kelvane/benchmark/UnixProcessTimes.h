// The CPU time and memory of another process as the operating system counts them. Under
// Wine, GetProcessTimes and the memory counters of another process measure nothing; the Unix
// process's /proc/<pid>/stat (through drive Z:) does.
#pragma once

#include <string>

class UnixProcessTimes {
 public:
  // Finds the Unix process that runs the named program in this program's Wine prefix; false
  // when there is none (not under Wine, or the program is gone).
  bool Find(const std::string& program);
  // User plus system time in ms; a negative value when it cannot be read.
  double CpuMs() const;
  // Resident memory in MiB; a negative value when it cannot be read.
  double ResidentMb() const;

 private:
  std::string statPath_;
};
