// A microphone recording for the dictation road: two seconds of a voiced sound (a 140 Hz
// voice with vowel-like formants, its loudness rising and falling like syllables), 16 kHz
// mono 16-bit, in buffers of the size Kelvane queues.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

constexpr size_t kSpokenBufferBytes = 4096;  // 2048 frames
constexpr size_t kSpokenBuffers = 16;

inline std::vector<unsigned char> SpokenFixture() {
  constexpr double kRate = 16000, kPitch = 140, kPi = 3.14159265358979;
  const double formants[][2] = {{700, 1.0}, {1200, 0.6}, {2600, 0.25}};
  std::vector<unsigned char> pcm(kSpokenBuffers * kSpokenBufferBytes);
  for (size_t i = 0; i < pcm.size() / 2; ++i) {
    const double t = i / kRate;
    double voice = 0;
    for (int harmonic = 1; harmonic * kPitch < 4000; ++harmonic) {
      double gain = 0;
      for (const auto& formant : formants) {
        const double distance = (harmonic * kPitch - formant[0]) / 250.0;
        gain += formant[1] * std::exp(-distance * distance);
      }
      voice += gain / harmonic * std::sin(2 * kPi * harmonic * kPitch * t);
    }
    const double syllables = 0.55 + 0.45 * std::sin(2 * kPi * 3 * t);
    const auto sample = static_cast<int16_t>(6000 * syllables * voice);
    pcm[2 * i] = static_cast<unsigned char>(sample & 0xFF);
    pcm[2 * i + 1] = static_cast<unsigned char>((sample >> 8) & 0xFF);
  }
  return pcm;
}
