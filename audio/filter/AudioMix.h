#pragma once
#include <cstdint>

// Adds src into dst sample by sample, saturating at +-32767 (never -32768).
void AudioMix16(int16_t* dst, const int16_t* src, int count);
// The same on signed 8-bit samples, saturating at +-127.
void AudioMix8(uint8_t* dst, const uint8_t* src, int count);
