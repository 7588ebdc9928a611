#include "InputStatistics.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "AtomicFile.h"
#include "FileBytes.h"
#include "TempFolder.h"

using ORVANE::Config::DataCenterPb;

namespace {

// Statistics in a temporary settings folder, on a date the test sets.
class InputStatisticsTest : public testing::Test {
 protected:
  CInputStatistics Statistics() {
    return CInputStatistics([this] { return date_; });
  }
  std::wstring File() const { return folder_.File(L"DataCenter.prototxt"); }
  void WriteFile(int total, int today, const std::string& date) {
    DataCenterPb data;
    data.mutable_word_statistics()->set_total(total);
    data.mutable_word_statistics()->set_today(today);
    data.mutable_word_statistics()->set_date(date);
    WriteBytes(File(), data.SerializeAsString());
  }
  DataCenterPb ReadFile() const {
    DataCenterPb data;
    EXPECT_TRUE(data.ParseFromString(ReadBytes(File())));
    return data;
  }

  TempFolder folder_;
  std::string date_ = "2026-12-09";
};

TEST_F(InputStatisticsTest, LoadRollsTheDateOfTheStoredCounts) {
  struct Case {
    const char* name;
    const char* stored;  // null: no file; "garbage": damaged file
    int total, today;
    int expectTotal, expectToday;
  } cases[] = {
      {"no file", nullptr, 0, 0, 0, 0},
      {"damaged file", "garbage", 0, 0, 0, 0},
      {"counted today", "2026-12-09", 100, 30, 100, 30},
      {"counted yesterday", "2026-12-08", 100, 30, 100, 0},
      {"counted on the same day last year", "2025-12-09", 100, 30, 100, 0},
      {"negative counts", "2026-12-09", -100, -30, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(File());
    if (c.stored && std::string(c.stored) == "garbage") {
      WriteBytes(File(), "\xFF\xFF\xFF\xFF not a message");
    } else if (c.stored) {
      WriteFile(c.total, c.today, c.stored);
    }
    CInputStatistics statistics = Statistics();
    statistics.Load(folder_.path());
    EXPECT_EQ(statistics.Total(), c.expectTotal);
    EXPECT_EQ(statistics.Today(), c.expectToday);

    // The first dictation of the run counts in both.
    statistics.CountInput(12);
    EXPECT_EQ(statistics.Total(), c.expectTotal + 12);
    EXPECT_EQ(statistics.Today(), c.expectToday + 12);
    ASSERT_TRUE(statistics.Save());
    EXPECT_EQ(ReadFile().word_statistics().date(), "2026-12-09");
  }
}

// A file from a newer build (a field this one does not know) keeps its counts, and the
// field is written back. A damaged file leaves what was read before the damage, and the
// first save keeps its bytes beside the new file.
TEST_F(InputStatisticsTest, NewerFilesKeepTheirCountsAndDamagedFilesAreKeptBySave) {
  const std::string unknownField("\xC0\x3E\x01", 3);  // field 1000, a varint
  WriteFile(40, 4, "2026-12-09");
  WriteBytes(File(), ReadBytes(File()) + unknownField);
  CInputStatistics newer = Statistics();
  newer.Load(folder_.path());
  EXPECT_EQ(newer.Total(), 40);
  newer.CountInput(2);
  ASSERT_TRUE(newer.Save());
  const std::string saved = ReadBytes(File());
  EXPECT_EQ(saved.substr(saved.size() - 3), unknownField);
  EXPECT_EQ(ReadFile().word_statistics().total(), 42);
  EXPECT_FALSE(std::filesystem::exists(File() + L".bad"));

  const std::string damaged = saved.substr(0, saved.size() - 8);  // cut inside the date
  WriteBytes(File(), damaged);
  CInputStatistics restarted = Statistics();
  restarted.Load(folder_.path());
  EXPECT_EQ(restarted.Total(), 42);
  EXPECT_EQ(ReadBytes(File()), damaged) << "the load changed the file";
  ASSERT_TRUE(restarted.Save());
  EXPECT_EQ(ReadBytes(File() + L".bad"), damaged);
  EXPECT_EQ(ReadFile().word_statistics().total(), 42);
}

TEST_F(InputStatisticsTest, DictationsCountTodayAndTotalAcrossMidnight) {
  CInputStatistics statistics = Statistics();
  statistics.Load(folder_.path());
  statistics.CountInput(5);
  statistics.CountInput(0);  // a partial result
  statistics.CountInput(7);
  EXPECT_EQ(statistics.Today(), 12);
  EXPECT_EQ(statistics.Total(), 12);

  // After midnight today's count shows yesterday's until the next count.
  date_ = "2026-12-10";
  EXPECT_EQ(statistics.Today(), 12);
  statistics.CountInput(3);
  EXPECT_EQ(statistics.Today(), 3);
  EXPECT_EQ(statistics.Total(), 15);
}

TEST_F(InputStatisticsTest, CountsStopAtTheLargestValueAndNeverShrink) {
  WriteFile(INT_MAX - 1, INT_MAX - 3, "2026-12-09");
  CInputStatistics statistics = Statistics();
  statistics.Load(folder_.path());
  statistics.CountInput(5);
  statistics.CountInput(-100);
  EXPECT_EQ(statistics.Total(), INT_MAX);
  EXPECT_EQ(statistics.Today(), INT_MAX);
}

TEST_F(InputStatisticsTest, SaveReplacesTheFileWholeAndTheNextRunLoadsIt) {
  CInputStatistics unloaded = Statistics();
  EXPECT_FALSE(unloaded.Save());  // nowhere to save before a load
  EXPECT_FALSE(std::filesystem::exists(File()));

  WriteFile(40, 4, "2026-12-09");
  CInputStatistics first = Statistics();
  first.Load(folder_.path());
  first.CountInput(9);
  ASSERT_TRUE(first.Save());
  EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(File())));

  CInputStatistics next = Statistics();
  next.Load(folder_.path());
  EXPECT_EQ(next.Total(), 49);
  EXPECT_EQ(next.Today(), 13);

  // A save that cannot replace the file leaves the previous one whole.
  const std::string before = ReadBytes(File());
  next.CountInput(1);
  HANDLE held = CreateFileW(File().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(next.Save());
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(File()), before);
  EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(File())));
}

}  // namespace
