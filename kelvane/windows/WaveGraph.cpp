#include "WaveGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "tessik/TessikLocker.h"

namespace {

constexpr float kSampleRate = 16000;
// Carries a bar colour set on another thread to the window's thread.
constexpr UINT kSetBarColorMessage = WM_APP + 1;
// From the audio thread: samples came while the display was at rest.
constexpr UINT kWakeMessage = WM_APP + 2;

}  // namespace

CWaveGraph::CWaveGraph()
    : m_window(kSampleCount),
      m_sampleBytes(kSampleCount * kBytesPerSample),
      m_fftInput(kSampleCount),
      m_fftOutput(kSampleCount),
      m_bars(m_nBarCount) {
  for (int i = 0; i < kSampleCount; ++i) {
    m_window[i] = 0.5f * (1 - std::cos(i * 6.2831852f / (kSampleCount - 1)));
  }
}

void CWaveGraph::AddSamples(const void* data, unsigned long bytes) {
  CTessikLocker locker(m_lock, true);
  tagStreamInfo info{};
  m_stream.GetBurthenInfo(info);
  if (info.ulDataLength <= kMaxWaitingBytes) m_stream.InsertData(const_cast<void*>(data), bytes);
  const bool wake = std::exchange(m_resting, false);
  locker.UnLock();
  if (wake && m_hWnd != nullptr) PostMessage(kWakeMessage);
}

void CWaveGraph::SetBarColor(COLORREF color) {
  if (m_hWnd != nullptr && GetWindowThreadProcessId(m_hWnd, nullptr) != GetCurrentThreadId()) {
    PostMessage(kSetBarColorMessage, color);
    return;
  }
  m_clrBar = color;
  Invalidate();
}

void CWaveGraph::SetBarCount(int count) { m_nBarCount = std::max(count, 0); }

void CWaveGraph::SetFrequencyRange(float lowest, float highest) {
  m_fLowest = lowest;
  m_fHighest = highest;
}

void CWaveGraph::StartTimer() {
  {
    CTessikLocker locker(m_lock, true);
    m_resting = false;
  }
  RestartTimer(kTimerId, 1000 / m_nUpdatesPerSecond);
}

LRESULT CWaveGraph::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kSetBarColorMessage) {
    SetBarColor(static_cast<COLORREF>(wParam));
    return 0;
  }
  if (message == kWakeMessage) {
    StartTimer();
    return 0;
  }
  return CBufferedStatic::WindowProc(message, wParam, lParam);
}

void CWaveGraph::OnTimer(UINT_PTR id) {
  if (id != kTimerId) return;
  // Silence after silence changes nothing: no FFT, no paint, and no tick until samples come.
  if (!TakeNewSamples()) {
    StopTimer(kTimerId);
    return;
  }
  const std::vector<float> shown = m_bars;
  ComputeBars();
  if (m_bars != shown) Invalidate();
}

bool CWaveGraph::TakeNewSamples() {
  const unsigned long step = 32000 / m_nUpdatesPerSecond;
  unsigned char* tail = m_sampleBytes.data() + m_sampleBytes.size() - step;

  CTessikLocker locker(m_lock, true);
  tagStreamInfo info{};
  m_stream.GetBurthenInfo(info);
  if (info.ulDataLength == 0 && m_quietBytes >= m_sampleBytes.size()) {
    m_resting = true;
    return false;
  }
  std::memmove(m_sampleBytes.data(), m_sampleBytes.data() + step, m_sampleBytes.size() - step);
  const unsigned long copied = m_stream.QueryData(tail, step);
  m_stream.TellData(copied);
  locker.UnLock();

  std::memset(tail + copied, 0, step - copied);
  size_t quietInTail = 0;
  while (quietInTail < step && tail[step - 1 - quietInTail] == 0) ++quietInTail;
  m_quietBytes = quietInTail == step ? std::min(m_quietBytes + step, m_sampleBytes.size()) : quietInTail;
  return true;
}

void CWaveGraph::ComputeBars() {
  for (int i = 0; i < kSampleCount; ++i) {
    const int16_t sample = static_cast<int16_t>(m_sampleBytes[2 * i] | (m_sampleBytes[2 * i + 1] << 8));
    m_fftInput[i] = sample * (1.0f / 32768) * m_window[i];
  }
  m_fft.calculateFFT(m_fftOutput.data(), m_fftInput.data());

  std::fill(m_bars.begin(), m_bars.end(), 0.0f);
  const int half = kSampleCount / 2;
  const float bandWidth = (m_fHighest - m_fLowest) / m_nBarCount;
  for (int k = 2; k <= half; ++k) {
    const float frequency = k * kSampleRate / kSampleCount;
    if (frequency < m_fLowest || frequency > m_fHighest) continue;
    // A range of zero width, or a bar count changed since the last paint, places no bar.
    const float position = (frequency - m_fLowest) / bandWidth;
    if (!(position >= 0 && position < static_cast<float>(m_bars.size()))) continue;
    const float re = m_fftOutput[k];
    const float im = k < half ? m_fftOutput[half + k] : 0.0f;
    const float value = 0.2f * std::log(std::sqrt(re * re + im * im));
    float& bar = m_bars[static_cast<size_t>(position)];
    if (value > bar) bar = value;
  }
}

void CWaveGraph::Draw(HDC dc, int width, int height) {
  if (m_nBarCount > 0 && !m_bars.empty()) {
    const int a = width / m_nBarCount;
    const int middle = height / 2;
    HBRUSH brush = ::CreateSolidBrush(m_clrBar);
    for (size_t i = 0; i < m_bars.size(); ++i) {
      const int right = a + static_cast<int>(i) * (a + 1);
      const float h = std::max(std::min<float>(middle, height * m_bars[i] * 0.5f), 1.0f);
      const RECT bar{right - a + 1, static_cast<int>(middle - h), right, static_cast<int>(middle + h)};
      ::FillRect(dc, &bar, brush);
    }
    ::DeleteObject(brush);
  }
  if (static_cast<int>(m_bars.size()) != m_nBarCount) m_bars.assign(m_nBarCount, 0.0f);
}
