// Decoder edge cases, and a round trip through an encoder written here from the codec's rules.
#include "ImaAdpcm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

std::vector<unsigned char> Notification(int16_t predictor, unsigned char index,
                                        std::vector<unsigned char> codes) {
  std::vector<unsigned char> bytes = {0xAA, 0x55, static_cast<unsigned char>(predictor & 0xFF),
                                      static_cast<unsigned char>((predictor >> 8) & 0xFF), index,
                                      0x00};
  for (unsigned char code : codes) bytes.push_back(code);
  return bytes;
}

struct EdgeCase {
  const char* what;
  int16_t predictor;
  unsigned char index;
  std::vector<unsigned char> codes;
  std::vector<int16_t> expected;
};

TEST(ImaAdpcmDecode, EdgeCases) {
  const EdgeCase cases[] = {
      // Step 7: diff 0 for codes 0 and 8; index stays at 0, so code 4 then adds 7
      // and moves to index 2 (step 9).
      {"zero differences at index 0", 100, 0, {0x80, 0x04}, {100, 100, 107, 108}},
      // Index 3 (step 10) moves down to 2 (step 9): code 4 adds 9 >> 3 + 9 = 10.
      {"index moves down", 0, 3, {0x40}, {1, 11}},
      {"positive limit", 32767, 88, {0x77}, {32767, 32767}},
      {"negative limit", -32767, 88, {0xFF}, {-32767, -32767}},
      {"lowest predictor clamps to -32767", -32768, 0, {0x08}, {-32767, -32767}},
      // Index 200 acts as 88 (step 32767): code 1 adds 4095 + 8191, then index 87.
      {"index above 88", 0, 200, {0x01}, {12286, 12286 + (29794 >> 3)}},
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<unsigned char> bytes = Notification(c.predictor, c.index, c.codes);
    std::vector<int16_t> out(c.expected.size());
    const int last = Decode(bytes.data() + 2, out.data(), static_cast<int>(out.size()));
    EXPECT_EQ(out, c.expected);
    EXPECT_EQ(last, c.expected.back());
  }
}

TEST(ImaAdpcmDecode, NotificationSizeGivesSampleCount) {
  const std::vector<unsigned char> bytes = Notification(0, 0, {0x00, 0x00, 0x00});
  for (unsigned long size : {0ul, 1ul, 5ul, 6ul}) {
    EXPECT_TRUE(DecodeNotification(bytes.data(), size).empty()) << size;
  }
  EXPECT_EQ(DecodeNotification(bytes.data(), 7).size(), 2u);
  EXPECT_EQ(DecodeNotification(bytes.data(), 9).size(), 6u);
}

// Encoder of the IMA ADPCM standard, kept apart from the decoder under test.
class ReferenceEncoder {
 public:
  // What a decoder must reproduce, sample by sample.
  std::vector<int16_t> reconstructed;

  std::vector<unsigned char> Encode(const std::vector<int16_t>& pcm) {
    std::vector<unsigned char> bytes = Notification(static_cast<int16_t>(predictor_),
                                                    static_cast<unsigned char>(index_), {});
    for (size_t i = 0; i < pcm.size(); ++i) {
      const int code = EncodeSample(pcm[i]);
      if (i % 2 == 0) {
        bytes.push_back(static_cast<unsigned char>(code));
      } else {
        bytes.back() |= static_cast<unsigned char>(code << 4);
      }
    }
    return bytes;
  }

 private:
  static int Step(int index) {
    static const int steps[89] = {
        7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,
        23,    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,
        73,    80,    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,
        230,   253,   279,   307,   337,   371,   408,   449,   494,   544,   598,   658,
        724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
        2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,
        7132,  7845,  8630,  9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350,
        22385, 24623, 27086, 29794, 32767};
    return steps[index];
  }

  int EncodeSample(int sample) {
    const int step = Step(index_);
    int delta = sample - predictor_;
    int code = 0;
    if (delta < 0) {
      code = 8;
      delta = -delta;
    }
    int diff = step >> 3;
    int part = step;
    for (int bit = 4; bit > 0; bit >>= 1, part >>= 1) {
      if (delta >= part) {
        code |= bit;
        delta -= part;
        diff += part;
      }
    }
    predictor_ += (code & 8) ? -diff : diff;
    predictor_ = std::clamp(predictor_, -32767, 32767);
    reconstructed.push_back(static_cast<int16_t>(predictor_));
    static const int adjust[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
    index_ = std::clamp(index_ + adjust[code & 7], 0, 88);
    return code;
  }

  int predictor_ = 0;
  int index_ = 0;
};

TEST(ImaAdpcmDecode, RoundTripOfASineStaysWithinTheCodecError) {
  std::vector<int16_t> sine(2000);
  for (size_t i = 0; i < sine.size(); ++i) {
    sine[i] = static_cast<int16_t>(12000 * std::sin(2 * 3.14159265358979 * 440 * i / 16000.0));
  }
  ReferenceEncoder encoder;
  const std::vector<unsigned char> notification = encoder.Encode(sine);
  const std::vector<int16_t> decoded =
      DecodeNotification(notification.data(), static_cast<unsigned long>(notification.size()));
  ASSERT_EQ(decoded, encoder.reconstructed);

  // After the step size has adapted (a few dozen samples), the error stays well below
  // the amplitude; over the whole signal the error energy is small.
  double errorEnergy = 0, signalEnergy = 0;
  for (size_t i = 64; i < sine.size(); ++i) {
    const double error = decoded[i] - sine[i];
    EXPECT_LT(std::abs(error), 1200) << "sample " << i;
    errorEnergy += error * error;
    signalEnergy += double(sine[i]) * sine[i];
  }
  EXPECT_LT(errorEnergy / signalEnergy, 0.01);
}

}  // namespace
