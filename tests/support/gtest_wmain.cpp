// Entry point of every Windows test executable (built with -municode).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The runner learns the result from this file: under Wine a crash may still exit with 0.
void ReportResult(int result) {
  const wchar_t* path = _wgetenv(L"ORVANE_TEST_RESULT_FILE");
  if (!path) return;
  if (FILE* file = _wfopen(path, L"w")) {
    std::fprintf(file, "%d", result);
    std::fclose(file);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  ReportResult(result);
  return result;
}
