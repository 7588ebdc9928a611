// The microphone over waveIn, driven through a fake driver; one case runs winmm itself.
#include "AudioInDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "FakeWaveInDriver.h"
#include "SettingsStore.h"
#include "TraceCapture.h"
#include "WaveInApi.h"
#include "tessik/TessikService.h"

namespace {

constexpr unsigned long kBufferBytes = 4096;
const std::wstring kDefaultMicName = L"麦克风 (Vornix)";

// Three whole buffers and a part of a fourth of a 440 Hz tone.
std::vector<unsigned char> TonePcm() {
  std::vector<unsigned char> pcm;
  for (int i = 0; i < int(3 * kBufferBytes / 2 + 500); ++i) {
    const auto sample = static_cast<int16_t>(8000 * std::sin(2 * 3.14159265 * 440 * i / 16000.0));
    pcm.push_back(static_cast<unsigned char>(sample & 0xFF));
    pcm.push_back(static_cast<unsigned char>((sample >> 8) & 0xFF));
  }
  return pcm;
}

ORVANE::Config::ConfigPb DefaultSettings() {
  ORVANE::Config::ConfigPb settings;
  SetDefaultConfig(&settings);
  return settings;
}

// What the callbacks saw, in order, and whether any came after Close had returned.
class Recorder {
 public:
  explicit Recorder(CDevice& device) {
    device.SetOpenedCallback([this](CDevice*) {
      Add("opened");
      return 1;
    });
    device.SetClosedCallback([this](CDevice*) { Add("closed"); });
    device.SetDataCallback([this](CDevice*, unsigned char* bytes, unsigned long size) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        pcm_.insert(pcm_.end(), bytes, bytes + size);
        sizes_.push_back(size);
      }
      Add("data");
      return 1;
    });
  }

  void CloseReturned() { closeReturned_ = true; }
  // Waits until count data callbacks have come; false after five seconds.
  bool WaitForData(size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(5), [&] { return sizes_.size() >= count; });
  }
  std::vector<std::string> Events() {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }
  std::vector<unsigned char> Pcm() {
    std::lock_guard<std::mutex> lock(mutex_);
    return pcm_;
  }
  std::vector<unsigned long> Sizes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return sizes_;
  }
  int LateCallbacks() { return late_; }

 private:
  void Add(const char* event) {
    if (closeReturned_) ++late_;
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(event);
    changed_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> events_;
  std::vector<unsigned char> pcm_;
  std::vector<unsigned long> sizes_;
  std::atomic<bool> closeReturned_{false};
  std::atomic<int> late_{0};
};

class AudioInDeviceTest : public ::testing::Test {
 protected:
  TraceCapture trace;
  ORVANE::Config::ConfigPb settings = DefaultSettings();
  std::vector<unsigned char> pcm = TonePcm();
  FakeWaveInDriver driver{{L"Line In (Vornix)", L"麦克风 (vornix)", kDefaultMicName, kDefaultMicName},
                          pcm};
  CAudioInDevice device{&settings};
  Recorder recorder{device};

  void TearDown() override { device.Close(); }
};

TEST_F(AudioInDeviceTest, ConfiguredGbkNamePicksTheLowestMatchingDevice) {
  ASSERT_EQ(device.Open(), 1);
  EXPECT_EQ(driver.LastOpenedId(), 2u);
  EXPECT_TRUE(trace.Has(kTraceInfo, L"CAudioInDevice Specific audio device index:2"));
  EXPECT_TRUE(trace.Has(kTraceNormal, L"Audio device opened successfully."));
  device.Close();
}

TEST_F(AudioInDeviceTest, NameDifferingFromEveryDeviceFails) {
  for (const char* name : {"\xC2\xF3\xBF\xCB\xB7\xE7 (VORNIX)", "\xC2\xF3\xBF\xCB\xB7\xE7 (Vornix",
                           "\xC2\xF3\xBF\xCB\xB7\xE7", ""}) {
    settings.mutable_mic_config()->mutable_device_descriptor()->set_name(name);
    const std::wstring wide = CTessikService::StringToWString(name);
    SCOPED_TRACE(std::string(name));
    EXPECT_EQ(device.Open(), 0);
    EXPECT_TRUE(trace.Has(kTraceError, L"CAudioInDevice Cannot find specific audio device named " + wide));
  }
  EXPECT_EQ(trace.Count(L"Fail to open autio device."), 4);
  EXPECT_EQ(driver.OpenCount(), 0);
}

TEST_F(AudioInDeviceTest, RecordsTheFixtureInOrderAndNothingAfterClose) {
  driver.SetReturnDelay(30);  // buffers of the reset come back late
  ASSERT_EQ(device.Open(), 1);
  // The fixture fills three buffers; the fourth holds the rest until Close.
  ASSERT_TRUE(driver.WaitForFixtureRecorded());
  ASSERT_TRUE(recorder.WaitForData(3));
  EXPECT_EQ(device.Close(), 1);
  recorder.CloseReturned();

  const std::vector<std::string> events = recorder.Events();
  ASSERT_GE(events.size(), 5u);
  EXPECT_EQ(events.front(), "opened");
  EXPECT_EQ(events[1], "data");
  EXPECT_EQ(events.back(), "closed");
  EXPECT_EQ(recorder.Sizes(), (std::vector<unsigned long>{4096, 4096, 4096, 1000}));
  EXPECT_EQ(recorder.Pcm(), pcm);
  EXPECT_EQ(recorder.LateCallbacks(), 0);
  EXPECT_EQ(driver.HeldBuffers(), 0u);
  EXPECT_EQ(driver.PreparedHeaders(), 0u);
  EXPECT_EQ(driver.Misuse(), 0);
}

TEST_F(AudioInDeviceTest, TenOpenCloseCyclesLeaveNoBufferBehind) {
  for (int cycle = 0; cycle < 10; ++cycle) {
    SCOPED_TRACE(cycle);
    driver.Rewind();
    ASSERT_EQ(device.Open(), 1);
    ASSERT_TRUE(driver.WaitForFixtureRecorded());
    device.Close();
    EXPECT_EQ(driver.HeldBuffers(), 0u);
    EXPECT_EQ(driver.PreparedHeaders(), 0u);
  }
  EXPECT_EQ(driver.Misuse(), 0);
  EXPECT_EQ(recorder.Pcm().size(), 10 * pcm.size());
}

TEST_F(AudioInDeviceTest, SecondOpenIsRefusedUntilClose) {
  ASSERT_EQ(device.Open(), 1);
  EXPECT_EQ(device.Open(), 0);
  EXPECT_TRUE(trace.Has(kTraceError, L"AudioInDevice is working or in async finish mode, try later..."));
  EXPECT_EQ(driver.OpenCount(), 1);
  device.Close();
  EXPECT_EQ(device.Open(), 1);
  device.Close();
  EXPECT_EQ(driver.Misuse(), 0);
}

TEST_F(AudioInDeviceTest, StartFailureBlocksOpenUntilClose) {
  driver.SetStartResult(MMSYSERR_ERROR);
  EXPECT_EQ(device.Open(), 0);
  EXPECT_TRUE(trace.Has(kTraceError, L"waveInStart return fail. error=1"));
  driver.SetStartResult(MMSYSERR_NOERROR);
  EXPECT_EQ(device.Open(), 0);
  EXPECT_TRUE(trace.Has(kTraceError, L"AudioInDevice is working or in async finish mode, try later..."));
  EXPECT_EQ(driver.OpenCount(), 1);

  EXPECT_EQ(device.Close(), 1);
  EXPECT_EQ(driver.PreparedHeaders(), 0u);
  EXPECT_EQ(device.Open(), 1);
  device.Close();
  EXPECT_EQ(driver.Misuse(), 0);
}

TEST_F(AudioInDeviceTest, CloseOfANeverOpenedDeviceDoesNothing) {
  EXPECT_EQ(device.Close(), 1);
  EXPECT_TRUE(recorder.Events().empty());
  EXPECT_EQ(driver.Misuse(), 0);
}

// Wine offers no capture device here: winmm itself leads to the "not found" path.
TEST(AudioInDeviceSystem, WinmmWithoutTheNamedDeviceFailsToOpen) {
  TraceCapture trace;
  ORVANE::Config::ConfigPb settings = DefaultSettings();
  CAudioInDevice device(&settings);
  EXPECT_EQ(device.Open(), 0);
  EXPECT_TRUE(trace.Has(kTraceError, L"CAudioInDevice Cannot find specific audio device named " +
                                          kDefaultMicName));
  EXPECT_EQ(device.Close(), 1);
}

}  // namespace
