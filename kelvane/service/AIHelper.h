// The spoken-command table: key phrases that start programs in AI mode.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "AIConfig.pb.h"

// A matched command: its key phrase and what it does (nonzero when the program started).
struct AICommand {
  std::wstring name;
  std::function<int()> action;
};

class CAIHelper {
 public:
  // How Run starts a program; ShellExecuteW by default.
  using ShellExecuteFunction =
      std::function<HINSTANCE(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT)>;

  // Run modes: a command from the user's file, a built-in command.
  static constexpr int kRunFileEntry = 0;
  static constexpr int kRunBuiltIn = 1;
  static constexpr wchar_t kFileName[] = L"AIAbilities.prototxt";

  CAIHelper();
  // The commands refer to this object.
  CAIHelper(const CAIHelper&) = delete;
  CAIHelper& operator=(const CAIHelper&) = delete;

  // The built-in commands, then those of the file in the settings folder. Always true.
  bool Load();
  bool LoadFrom(const std::wstring& folder);
  // The first command, in key order, whose key occurs in the text.
  bool Match(const std::wstring& text, AICommand& result) const;
  // Opens the file with its parameters (each followed by a blank); false when the shell
  // fails or the mode is unknown.
  bool Run(int mode, const std::wstring& file, const std::vector<std::wstring>& parameters);

  void SetShellExecute(ShellExecuteFunction shellExecute);

 private:
  void AddFileEntries();

  std::map<std::wstring, std::function<int()>> commands_;
  ORVANE::Config::AIConfigPb config_;
  ShellExecuteFunction shellExecute_;
};
