#include "FFTRealWrapper.h"

#include <kiss_fftr.h>

#include <vector>

struct FFTRealWrapper::Engine {
  Engine() : config(kiss_fftr_alloc(kLength, 0, nullptr, nullptr)), bins(kLength / 2 + 1) {}
  ~Engine() { kiss_fftr_free(config); }

  kiss_fftr_cfg config;
  std::vector<kiss_fft_cpx> bins;
};

FFTRealWrapper::FFTRealWrapper() : engine_(std::make_unique<Engine>()) {}

FFTRealWrapper::~FFTRealWrapper() = default;

void FFTRealWrapper::calculateFFT(float* output, const float* input) {
  kiss_fftr(engine_->config, input, engine_->bins.data());
  constexpr int half = kLength / 2;
  for (int k = 0; k <= half; ++k) output[k] = engine_->bins[k].r;
  for (int k = 1; k < half; ++k) output[half + k] = engine_->bins[k].i;
}
