// Placeholder until the input statistics land: the calls the main dialog makes.
#pragma once

#include <string>

class CInputStatistics {
 public:
  void Load(const std::wstring&) {}
  void CountInput(int n) { today_ += n; total_ += n; }
  bool Save() const { return true; }
  int Today() const { return today_; }
  int Total() const { return total_; }

 private:
  int today_ = 0;
  int total_ = 0;
};
