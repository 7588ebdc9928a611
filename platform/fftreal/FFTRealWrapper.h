// A real FFT of fixed length with FFTReal's output layout.
#pragma once

#include <memory>

class FFTRealWrapper {
 public:
  static constexpr int kLength = 4096;

  FFTRealWrapper();
  ~FFTRealWrapper();
  FFTRealWrapper(const FFTRealWrapper&) = delete;
  FFTRealWrapper& operator=(const FFTRealWrapper&) = delete;

  // Forward transform of kLength samples, X[k] = sum x[n] e^(-2 pi i k n / N).
  // output[k] (0 <= k <= N/2) is Re X[k]; output[N/2 + k] (1 <= k < N/2) is Im X[k].
  void calculateFFT(float* output, const float* input);

 private:
  struct Engine;
  std::unique_ptr<Engine> engine_;
};
