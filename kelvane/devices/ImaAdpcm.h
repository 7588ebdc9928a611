// IMA ADPCM decoding of the BLE microphone's notifications.
#pragma once

#include <cstdint>
#include <vector>

// Bytes before the codes: header (2), predictor (2, little-endian), step index (1), unused (1).
constexpr unsigned long kAdpcmHeaderSize = 6;

// Decodes count samples into out. stateAndCodes starts with the predictor and step index
// (offset 2 of a notification), followed two bytes later by the 4-bit codes, low nibble
// first. Returns the last predictor.
int Decode(const unsigned char* stateAndCodes, int16_t* out, int count);

// Decodes one whole notification; shorter than its header it yields no samples.
std::vector<int16_t> DecodeNotification(const unsigned char* notification, unsigned long size);
