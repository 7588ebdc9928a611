// How many characters were typed for the user, today and in total, kept in
// "DataCenter.prototxt" (binary encoding) in the settings folder.
#pragma once

#include <functional>
#include <string>

#include "DataCenter.pb.h"

// The local date as "%04d-%02d-%02d".
std::string LocalDateText();

class CInputStatistics {
 public:
  explicit CInputStatistics(std::function<std::string()> today = LocalDateText);

  // Reads the file of the settings folder (a missing or damaged file leaves what was
  // parsed, normally nothing; a negative count is taken as 0) and rolls the date. Later
  // saves go to the same file.
  void Load(const std::wstring& settingsFolder);
  // Adds n characters (a negative n adds none); a new day first starts today's count at 0.
  // Counts stop at the largest int32 value.
  void CountInput(int n);
  // Replaces the file atomically; false when nothing was loaded or the write failed.
  bool Save() const;

  int Today() const;
  int Total() const;

 private:
  std::function<std::string()> today_;
  std::wstring path_;
  ORVANE::Config::DataCenterPb data_;
};
