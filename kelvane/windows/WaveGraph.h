// The bar spectrum of the microphone signal: PCM arrives from the audio thread, a window
// timer turns the newest 4096 samples into one bar per frequency band.
#pragma once

#include <atomic>
#include <vector>

#include "BufferedStatic.h"
#include "fftreal/FFTRealWrapper.h"
#include "mfc/AfxSync.h"
#include "tessik/TessikDataStream.h"

class CWaveGraph : public CBufferedStatic {
 public:
  static constexpr UINT_PTR kTimerId = 1001;
  static constexpr int kSampleCount = FFTRealWrapper::kLength;
  static constexpr int kBytesPerSample = 2;  // signed 16-bit little-endian mono, 16 kHz
  static constexpr unsigned long kMaxWaitingBytes = 320000;

  CWaveGraph();

  // Any thread: appends a PCM packet, or drops it whole while more than kMaxWaitingBytes
  // are waiting. A packet that finds the display at rest restarts its timer.
  void AddSamples(const void* data, unsigned long bytes);

  // Any thread: called off the window's thread, the change is posted to it.
  void SetBarColor(COLORREF color);
  COLORREF GetBarColor() const { return m_clrBar; }

  // Takes effect after the next paint, starting from empty bars.
  void SetBarCount(int count);
  void SetFrequencyRange(float lowest, float highest);
  int GetUpdatesPerSecond() const { return m_nUpdatesPerSecond; }
  // Restarts timer 1001 with the period 1000 / updates per second. The timer stops while the
  // display is at rest (only silence in the window and none waiting) and starts again with
  // the next packet, so an idle panel does not wake 32 times a second.
  void StartTimer();

  const std::vector<float>& GetBars() const { return m_bars; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnTimer(UINT_PTR id) override;
  void Draw(HDC dc, int width, int height) override;

 private:
  // Shifts the newest samples in; false, with nothing done but marking the display at
  // rest, when none came and the window holds only silence.
  bool TakeNewSamples();
  void ComputeBars();

  std::vector<float> m_window;
  CCriticalSection m_lock;
  CTessikDataStream m_stream;  // guarded by m_lock
  std::vector<unsigned char> m_sampleBytes;
  size_t m_quietBytes = kSampleCount * kBytesPerSample;  // zero bytes at the end of the window
  bool m_resting = false;  // guarded by m_lock: the timer stopped for want of samples
  std::vector<float> m_fftInput;
  std::vector<float> m_fftOutput;
  FFTRealWrapper m_fft;
  COLORREF m_clrBar = RGB(0, 255, 0);
  int m_nBarCount = 76;
  float m_fLowest = 0;
  float m_fHighest = 0;
  std::vector<float> m_bars;
  int m_nUpdatesPerSecond = 32;
};
