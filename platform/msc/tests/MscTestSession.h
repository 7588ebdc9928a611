// Points the SDK stand-in at a script (or none: echo mode) and a journal, for one test.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "msc/MscApi.h"
#include "TempFolder.h"

class MscTestSession {
 public:
  // An empty script leaves echo mode.
  explicit MscTestSession(const std::string& script = std::string()) {
    if (!script.empty()) {
      WriteFile(L"script.json", script);
      SetEnvironmentVariableW(MSC_SCRIPT_VARIABLE, folder_.File(L"script.json").c_str());
    }
    SetEnvironmentVariableW(MSC_JOURNAL_VARIABLE, folder_.File(L"journal.txt").c_str());
  }
  ~MscTestSession() {
    SetEnvironmentVariableW(MSC_SCRIPT_VARIABLE, nullptr);
    SetEnvironmentVariableW(MSC_JOURNAL_VARIABLE, nullptr);
  }
  MscTestSession(const MscTestSession&) = delete;
  MscTestSession& operator=(const MscTestSession&) = delete;

  // The SDK calls so far, one "name error [details]" line each.
  std::vector<std::string> Journal() const {
    std::vector<std::string> lines;
    std::ifstream file(std::filesystem::path(folder_.File(L"journal.txt")), std::ios::binary);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }

  // Writes a file into the test's folder.
  void WriteFile(const std::wstring& name, const std::string& text) const {
    std::ofstream(std::filesystem::path(folder_.File(name)), std::ios::binary) << text;
  }

  const TempFolder& folder() const { return folder_; }

 private:
  TempFolder folder_;
};
