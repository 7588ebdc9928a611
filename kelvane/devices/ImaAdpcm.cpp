#include "ImaAdpcm.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<int, 89> kStepSizes = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,   253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,   876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749,  3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493,  10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

constexpr std::array<int, 16> kIndexAdjust = {-1, -1, -1, -1, 2, 4, 6, 8,
                                              -1, -1, -1, -1, 2, 4, 6, 8};

constexpr int kMaxIndex = static_cast<int>(kStepSizes.size()) - 1;
constexpr int kPredictorLimit = 32767;
// Codes start after predictor (2), step index (1) and one unused byte.
constexpr int kCodesOffset = 4;

int Difference(int step, int code) {
  int diff = step >> 3;
  if (code & 4) diff += step;
  if (code & 2) diff += step >> 1;
  if (code & 1) diff += step >> 2;
  return diff;
}

}  // namespace

int Decode(const unsigned char* stateAndCodes, int16_t* out, int count) {
  int predictor = static_cast<int16_t>(stateAndCodes[0] | (stateAndCodes[1] << 8));
  int index = std::clamp<int>(stateAndCodes[2], 0, kMaxIndex);
  const unsigned char* codes = stateAndCodes + kCodesOffset;

  for (int i = 0; i < count; ++i) {
    const unsigned char byte = codes[i / 2];
    const int code = (i % 2 == 0) ? (byte & 0x0F) : (byte >> 4);
    const int diff = Difference(kStepSizes[index], code);
    predictor = (code & 8) ? predictor - diff : predictor + diff;
    predictor = std::clamp(predictor, -kPredictorLimit, kPredictorLimit);
    index = std::clamp(index + kIndexAdjust[code], 0, kMaxIndex);
    out[i] = static_cast<int16_t>(predictor);
  }
  return predictor;
}

std::vector<int16_t> DecodeNotification(const unsigned char* notification, unsigned long size) {
  if (size < kAdpcmHeaderSize) return {};
  std::vector<int16_t> pcm((size - kAdpcmHeaderSize) * 2);
  Decode(notification + 2, pcm.data(), static_cast<int>(pcm.size()));
  return pcm;
}
