// The CPU time of another process as the operating system counts it. Under Wine,
// GetProcessTimes of another process measures nothing; the Unix process's /proc/<pid>/stat
// (through drive Z:) does.
#pragma once

#include <string>

class UnixProcessTimes {
 public:
  // Finds the Unix process that runs the named program in this program's Wine prefix; false
  // when there is none (not under Wine, or the program is gone).
  bool Find(const std::string& program);
  // User plus system time in ms; a negative value when it cannot be read.
  double CpuMs() const;

 private:
  std::string statPath_;
};
