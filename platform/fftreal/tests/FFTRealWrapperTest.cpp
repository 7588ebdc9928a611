#include "fftreal/FFTRealWrapper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

namespace {

constexpr int N = FFTRealWrapper::kLength;
const double kPi = std::acos(-1.0);

// The definition, in double precision.
std::vector<std::complex<double>> DirectDft(const std::vector<float>& x) {
  std::vector<std::complex<double>> twiddle(N);
  for (int m = 0; m < N; ++m) twiddle[m] = std::polar(1.0, -2 * kPi * m / N);
  std::vector<std::complex<double>> bins(N / 2 + 1);
  for (int k = 0; k <= N / 2; ++k) {
    for (int n = 0; n < N; ++n) bins[k] += double(x[n]) * twiddle[(size_t(k) * n) % N];
  }
  return bins;
}

TEST(FFTRealWrapper, MatchesTheDirectDftInFFTRealLayout) {
  // A 1 kHz tone at 16 kHz (bin 256), an off-bin tone and an offset.
  std::vector<float> input(N);
  for (int n = 0; n < N; ++n) {
    input[n] = float(0.5 * std::cos(2 * kPi * 1000 * n / 16000) +
                     0.25 * std::sin(2 * kPi * 437.3 * n / 16000) + 0.1);
  }
  std::vector<float> output(N, -1.0f);
  FFTRealWrapper fft;
  fft.calculateFFT(output.data(), input.data());

  const auto expected = DirectDft(input);
  for (int k = 0; k <= N / 2; ++k) {
    ASSERT_NEAR(output[k], expected[k].real(), 0.05) << "re " << k;
    if (k > 0 && k < N / 2) {
      ASSERT_NEAR(output[N / 2 + k], expected[k].imag(), 0.05) << "im " << k;
    }
  }
  EXPECT_NEAR(output[256], 0.5 * N / 2, 0.5);  // the tone's bin
  EXPECT_NEAR(output[0], 0.1 * N, 0.5);        // the offset
}

TEST(FFTRealWrapper, RepeatedTransformsAreIndependent) {
  std::vector<float> impulse(N, 0.0f), output(N);
  impulse[0] = 1.0f;
  FFTRealWrapper fft;
  std::vector<float> noise(N);
  for (int n = 0; n < N; ++n) noise[n] = float(std::sin(n * 12.9898) * 0.9);
  fft.calculateFFT(output.data(), noise.data());
  fft.calculateFFT(output.data(), impulse.data());
  for (int k = 0; k <= N / 2; ++k) ASSERT_NEAR(output[k], 1.0, 1e-5) << k;
  for (int k = 1; k < N / 2; ++k) ASSERT_NEAR(output[N / 2 + k], 0.0, 1e-5) << k;
}

}  // namespace
