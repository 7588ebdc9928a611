#include "UnixProcessTimes.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

constexpr double kMsPerClockTick = 10;  // Linux's USER_HZ is 100
constexpr double kPageMb = 4096.0 / (1024 * 1024);

// The fields of a stat line after "pid (comm)": [0] state, [1] ppid, ..., [11] utime,
// [12] stime, ..., [21] rss in pages. The name may hold blanks and brackets, so it ends at
// the last ')'.
bool ReadStat(const std::string& path, std::string* name, std::vector<std::string>* fields) {
  std::ifstream file(path);
  std::string line;
  if (!std::getline(file, line)) return false;
  const size_t open = line.find('('), close = line.rfind(')');
  if (open == std::string::npos || close == std::string::npos || close < open) return false;
  *name = line.substr(open + 1, close - open - 1);
  std::istringstream rest(line.substr(close + 1));
  fields->clear();
  for (std::string field; rest >> field;) fields->push_back(field);
  return fields->size() > 21;
}

// The Wine prefix in the process's environment: a Wine child is no Unix child of its
// parent, but it shares the parent's prefix (and a single-instance program runs once in it).
std::string WinePrefix(const std::string& pid) {
  std::ifstream file("Z:/proc/" + pid + "/environ", std::ios::binary);
  const std::string key = "WINEPREFIX=";
  for (std::string entry; std::getline(file, entry, '\0');) {
    if (entry.rfind(key, 0) == 0) return entry.substr(key.size());
  }
  return {};
}

}  // namespace

bool UnixProcessTimes::Find(const std::string& program) {
  const std::string prefix = WinePrefix("self");
  if (prefix.empty()) return false;
  std::string name;
  std::vector<std::string> fields;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("Z:/proc", error)) {
    const std::string pid = entry.path().filename().string();
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string path = "Z:/proc/" + pid + "/stat";
    if (ReadStat(path, &name, &fields) && name == program && WinePrefix(pid) == prefix) {
      statPath_ = path;
      return true;
    }
  }
  return false;
}

double UnixProcessTimes::CpuMs() const {
  std::string name;
  std::vector<std::string> fields;
  if (statPath_.empty() || !ReadStat(statPath_, &name, &fields)) return -1;
  return (std::stod(fields[11]) + std::stod(fields[12])) * kMsPerClockTick;
}

double UnixProcessTimes::ResidentMb() const {
  std::string name;
  std::vector<std::string> fields;
  if (statPath_.empty() || !ReadStat(statPath_, &name, &fields)) return -1;
  return std::stod(fields[21]) * kPageMb;
}
