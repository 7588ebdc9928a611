#include "LogRateLimit.h"

#include <gtest/gtest.h>

namespace {

TEST(LogRateLimitTest, WritesTheFirstLinesOfEachIntervalAndCountsTheRestIntoTheNextLine) {
  LogRateLimit limit(3, 1000);
  struct Step {
    unsigned long long atMs;
    bool write;
    unsigned long long suppressed;
  };
  const Step steps[] = {
      {0, true, 0},    {1, true, 0},    {1, true, 0},     // the first three
      {2, false, 0},   {999, false, 0},                   // held back, counted
      {1000, true, 2},                                    // the next interval reports them
      {1500, true, 0}, {1999, true, 0}, {1999, false, 0},  // its own three, then held back
      {9000, true, 1},                                    // after a quiet spell
      {9001, true, 0},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.atMs);
    const LogRateLimit::Decision decision = limit.Note(step.atMs);
    EXPECT_EQ(decision.write, step.write);
    EXPECT_EQ(decision.suppressed, step.suppressed);
  }
}

}  // namespace
