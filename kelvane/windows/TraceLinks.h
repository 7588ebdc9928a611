// Splits a console line into link runs ("http://" addresses) and the plain text between.
#pragma once

#include <string>
#include <vector>

struct TraceTextRun {
  std::wstring text;
  bool link;
};

// A link starts with "http://" and goes on over 0-9, A-Z, a-z and # % & + . / : = ?.
// The runs, joined, give the line back; empty lines give no run.
std::vector<TraceTextRun> SplitLinkRuns(const std::wstring& line);
