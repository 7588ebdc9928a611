#include "WaveGraph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

#include "PanelTestSupport.h"

namespace {

constexpr COLORREF kBarColor = RGB(180, 180, 180);
constexpr int kWidth = 303;  // the panel's spectrum: 330 - 27 by 53
constexpr int kHeight = 53;
constexpr unsigned long kTickBytes = 1000;  // 500 samples per tick at 32 ticks a second
constexpr int kTicksToFill = 9;             // 4500 samples cover the 4096 of the FFT

// One tick's worth of a tone as 16-bit PCM at 16 kHz.
std::vector<unsigned char> TonePacket(double hz, double amplitude, int tick) {
  std::vector<unsigned char> bytes;
  for (int i = 0; i < int(kTickBytes / 2); ++i) {
    const int n = tick * int(kTickBytes / 2) + i;
    const auto sample =
        int16_t(std::lround(amplitude * 32767 * std::sin(2 * 3.14159265358979 * hz * n / 16000)));
    bytes.push_back(uint8_t(sample & 0xFF));
    bytes.push_back(uint8_t((sample >> 8) & 0xFF));
  }
  return bytes;
}

size_t LoudestBar(const std::vector<float>& bars) {
  return size_t(std::max_element(bars.begin(), bars.end()) - bars.begin());
}

// The spectrum set up as the main panel sets it up.
class WaveGraphTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(graph_.SubclassWindow(host_.control()));
    graph_.SetBkColor(RGB(0, 0, 0));
    graph_.SetBarColor(kBarColor);
    graph_.SetBarCount(76);
    graph_.SetFrequencyRange(0, 1520);
  }
  void Tick(int times = 1) {
    for (int i = 0; i < times; ++i) graph_.SendMessage(WM_TIMER, CWaveGraph::kTimerId);
  }
  void FeedTone(double hz, int ticks, int firstTick = 0) {
    for (int t = firstTick; t < firstTick + ticks; ++t) {
      const auto packet = TonePacket(hz, 0.5, t);
      graph_.AddSamples(packet.data(), packet.size());
    }
  }
  // Rows of the bar's left column that carry the bar colour.
  static std::vector<int> BarRows(const Snapshot& shot, int bar) {
    const int a = kWidth / 76;
    const int left = a + bar * (a + 1) - a + 1;
    std::vector<int> rows;
    for (int y = 0; y < shot.height(); ++y) {
      if (shot.At(left, y) == kBarColor) rows.push_back(y);
    }
    return rows;
  }

  ControlHost host_{kWidth, kHeight};
  CWaveGraph graph_;
};

TEST_F(WaveGraphTest, SilenceAndNoAudioDrawEveryBarTwoPixelsHigh) {
  Tick(3);  // nothing arrived yet
  EXPECT_EQ(graph_.GetBars(), std::vector<float>(76, 0.0f));

  const std::vector<unsigned char> silence(kTickBytes * kTicksToFill, 0);
  graph_.AddSamples(silence.data(), silence.size());
  Tick(kTicksToFill);
  EXPECT_EQ(graph_.GetBars(), std::vector<float>(76, 0.0f));

  const Snapshot shot(graph_.m_hWnd);
  for (int bar : {0, 37, 74}) {
    EXPECT_EQ(BarRows(shot, bar), (std::vector<int>{25, 26})) << bar;
  }
  // Bars are two pixels wide with a two-pixel gap.
  EXPECT_EQ(shot.At(2, 26), kBarColor);
  EXPECT_EQ(shot.At(3, 26), RGB(0, 0, 0));
  EXPECT_EQ(shot.At(4, 26), RGB(0, 0, 0));
  EXPECT_EQ(shot.At(5, 26), kBarColor);
}

TEST_F(WaveGraphTest, AOneKilohertzToneLightsBarFifty) {
  FeedTone(1000, kTicksToFill);
  Tick(kTicksToFill);
  const std::vector<float>& bars = graph_.GetBars();
  EXPECT_EQ(LoudestBar(bars), 50u);
  EXPECT_GT(bars[50], 1.0f);
  EXPECT_EQ(bars[10], 0.0f);
  EXPECT_EQ(bars[70], 0.0f);

  const Snapshot shot(graph_.m_hWnd);
  EXPECT_EQ(BarRows(shot, 50).size(), 52u);  // the full height around the middle line
  EXPECT_EQ(BarRows(shot, 10).size(), 2u);

  // Each tick takes one tick's worth: once the tone has passed through, silence again.
  Tick(kTicksToFill);
  EXPECT_EQ(graph_.GetBars(), std::vector<float>(76, 0.0f));
}

TEST_F(WaveGraphTest, OnlyTicksThatChangeTheBarsRepaint) {
  const auto pendingPaint = [&] { return GetUpdateRect(graph_.m_hWnd, nullptr, FALSE) != FALSE; };
  ShowWindow(host_.parent(), SW_SHOWNOACTIVATE);  // only a visible window gathers an update region
  ValidateRect(graph_.m_hWnd, nullptr);
  Tick(3);  // silence after silence
  EXPECT_FALSE(pendingPaint());

  FeedTone(1000, kTicksToFill);
  Tick(kTicksToFill);
  EXPECT_TRUE(pendingPaint());
  Tick(kTicksToFill);  // the tone passes through; the bars fall back to zero
  EXPECT_EQ(graph_.GetBars(), std::vector<float>(76, 0.0f));
  ValidateRect(graph_.m_hWnd, nullptr);
  Tick(3);
  EXPECT_FALSE(pendingPaint());
}

TEST_F(WaveGraphTest, TheTimerRestsInSilenceAndTheNextPacketStartsIt) {
  graph_.StartTimer();
  PumpMessages(300);  // an empty window: the first tick finds nothing to show
  EXPECT_FALSE(KillTimer(graph_.m_hWnd, CWaveGraph::kTimerId)) << "the timer still runs";

  FeedTone(500, 40);
  PumpMessages(800);
  EXPECT_EQ(LoudestBar(graph_.GetBars()), 25u);
  EXPECT_TRUE(KillTimer(graph_.m_hWnd, CWaveGraph::kTimerId));
}

TEST_F(WaveGraphTest, TheWindowTimerDrivesTheDisplay) {
  FeedTone(500, 40);
  graph_.StartTimer();
  PumpMessages(800);
  graph_.StopTimer(CWaveGraph::kTimerId);
  EXPECT_EQ(LoudestBar(graph_.GetBars()), 25u);
}

TEST_F(WaveGraphTest, ABacklogAboveTenSecondsDropsWholePackets) {
  // 400 packets offered at once: appending stops once more than 320000 bytes wait.
  FeedTone(1000, 400);
  Tick(321);
  EXPECT_EQ(LoudestBar(graph_.GetBars()), 50u);
  Tick(kTicksToFill);
  EXPECT_EQ(graph_.GetBars(), std::vector<float>(76, 0.0f));

  // Once the backlog is gone, packets are taken again.
  FeedTone(1000, kTicksToFill);
  Tick(kTicksToFill);
  EXPECT_EQ(LoudestBar(graph_.GetBars()), 50u);
}

TEST_F(WaveGraphTest, ANewBarCountShowsAfterTheNextPaintFromEmptyBars) {
  FeedTone(1000, 3 * kTicksToFill);
  Tick(kTicksToFill);
  graph_.SetBarCount(152);  // the tone's bar (100) lies beyond the bars held until the paint
  Tick(1);
  EXPECT_EQ(graph_.GetBars().size(), 76u);

  Snapshot{graph_.m_hWnd};
  EXPECT_EQ(graph_.GetBars(), std::vector<float>(152, 0.0f));
  Tick(1);
  EXPECT_EQ(LoudestBar(graph_.GetBars()), 100u);

  graph_.SetBarCount(10);
  Snapshot{graph_.m_hWnd};
  Tick(1);
  ASSERT_EQ(graph_.GetBars().size(), 10u);
  EXPECT_EQ(LoudestBar(graph_.GetBars()), 6u);
}

TEST_F(WaveGraphTest, ABarColourFromAnotherThreadIsAppliedOnTheWindowsThread) {
  // The caller must not wait for the window's thread, which may be waiting for it.
  std::thread service([this] { graph_.SetBarColor(RGB(18, 169, 57)); });
  service.join();
  EXPECT_EQ(graph_.GetBarColor(), kBarColor);

  PumpMessages(50);
  EXPECT_EQ(graph_.GetBarColor(), RGB(18, 169, 57));
  EXPECT_EQ(Snapshot(graph_.m_hWnd).At(1, 26), RGB(18, 169, 57));
}

}  // namespace
