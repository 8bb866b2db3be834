#pragma once
#include <stdint.h>
#include <vector>

// Test signals at 16000 samples per second and the measures the codec tests
// use on them.
namespace G7221TestSignals {
// Voiced-speech-like: a 100..140 Hz pulse train through two formant
// resonators with a 4 Hz syllable envelope and a little breath noise.
std::vector<int16_t> Speech(int samples, double level = 1.0);
// Two steady tones, 440 Hz and 1000 Hz.
std::vector<int16_t> Tones(int samples, double amplitude = 8000.0);

// Encodes and decodes the whole signal frame by frame at the given rate.
std::vector<int16_t> RoundTrip(int bitRate, const std::vector<int16_t>& in);

// Segmental SNR in dB of out against in, out lagging one frame (320
// samples) behind in as the codec's overlap makes it; frames are limited
// to -10..35 dB, the first two frames are skipped.
double SegmentalSnr(const std::vector<int16_t>& in, const std::vector<int16_t>& out);
} // namespace G7221TestSignals
