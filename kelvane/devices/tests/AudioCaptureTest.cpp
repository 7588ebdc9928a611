// Real capture through winmm and Wine's PulseAudio driver: the tone that
// tools/with-pulse-tone.sh plays reaches the data callback as 16 kHz mono PCM.
#include "AudioInDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "SettingsStore.h"
#include "TraceCapture.h"

namespace {

constexpr size_t kSampleRate = 16000;

class PcmCollector {
 public:
  explicit PcmCollector(CDevice& device) {
    device.SetOpenedCallback([this](CDevice*) {
      std::lock_guard<std::mutex> lock(mutex_);
      openedBeforeData_ = samples_.empty();
      return 1;
    });
    device.SetClosedCallback([this](CDevice*) { ++closed_; });
    device.SetDataCallback([this](CDevice*, unsigned char* bytes, unsigned long size) {
      if (closeReturned_) ++late_;
      std::lock_guard<std::mutex> lock(mutex_);
      const auto* pcm = reinterpret_cast<const int16_t*>(bytes);
      samples_.insert(samples_.end(), pcm, pcm + size / 2);
      sizes_.push_back(size);
      arrived_.notify_all();
      return 1;
    });
  }

  bool WaitForSamples(size_t count, std::chrono::seconds limit) {
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, limit, [&] { return samples_.size() >= count; });
  }
  void CloseReturned() { closeReturned_ = true; }

  std::vector<int16_t> Samples() {
    std::lock_guard<std::mutex> lock(mutex_);
    return samples_;
  }
  std::vector<unsigned long> Sizes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return sizes_;
  }
  bool OpenedBeforeData() { return openedBeforeData_; }
  int Closed() { return closed_; }
  int Late() { return late_; }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<int16_t> samples_;
  std::vector<unsigned long> sizes_;
  bool openedBeforeData_ = false;
  std::atomic<int> closed_{0};
  std::atomic<bool> closeReturned_{false};
  std::atomic<int> late_{0};
};

// Frequency from the rising zero crossings of one second of samples.
double Frequency(const std::vector<int16_t>& second) {
  int rising = 0;
  for (size_t i = 1; i < second.size(); ++i) rising += (second[i - 1] < 0 && second[i] >= 0);
  return rising;
}

double Rms(const std::vector<int16_t>& samples) {
  double sum = 0;
  for (int16_t s : samples) sum += double(s) * s;
  return std::sqrt(sum / samples.size());
}

TEST(AudioInDeviceCapture, ToneFromTheNamedDeviceArrivesAs16kHzMonoPcm) {
  const char* toneHz = std::getenv("ORVANE_TONE_HZ");
  const char* toneDevice = std::getenv("ORVANE_TONE_DEVICE");
  if (toneHz == nullptr || toneDevice == nullptr) GTEST_SKIP() << "needs tools/with-pulse-tone.sh";

  TraceCapture trace;
  ORVANE::Config::ConfigPb settings;
  SetDefaultConfig(&settings);
  settings.mutable_mic_config()->mutable_device_descriptor()->set_name(toneDevice);
  CAudioInDevice device(&settings);
  PcmCollector collector(device);

  ASSERT_EQ(device.Open(), 1) << trace.Text();
  // The first buffer comes 0.7 to 1.8 s after the start; take two seconds of audio.
  const bool enough = collector.WaitForSamples(2 * kSampleRate, std::chrono::seconds(30));
  device.Close();
  collector.CloseReturned();
  ASSERT_TRUE(enough);

  EXPECT_TRUE(collector.OpenedBeforeData());
  EXPECT_EQ(collector.Closed(), 1);
  EXPECT_EQ(collector.Late(), 0);
  const std::vector<unsigned long> sizes = collector.Sizes();
  for (size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], 4096u) << "buffer " << i;

  // The last full second, clear of the stream's start.
  const std::vector<int16_t> samples = collector.Samples();
  const std::vector<int16_t> second(samples.end() - kSampleRate, samples.end());
  EXPECT_GT(Rms(second), 300.0);
  EXPECT_NEAR(Frequency(second), std::atof(toneHz), 20.0);
}

}  // namespace
