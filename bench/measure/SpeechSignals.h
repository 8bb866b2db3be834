#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace BenchMeasure {

// Test signals of the audio benchmarks: speech (spoken, read from a WAV file,
// or a synthetic speech-like signal), white and pink noise, and a noisy mix at
// a given signal-to-noise ratio.
class SpeechSignals
{
public:
    // Voiced syllables through gliding formants, with a pause of 0.7 s every
    // 2.5 s; peak about 12000.
    static std::vector<double> Synthetic(int rate, double seconds, uint32_t seed);

    // Spoken speech from the WAV file the environment variable
    // HALVERN_BENCH_SPEECH names (tools/bench.sh has espeak-ng speak it),
    // else the synthetic signal; at least minSeconds long (the speech is
    // repeated). source says which it is, in words.
    static std::vector<double> Speech(int rate, double minSeconds, std::string* source);

    // Unit mean-square noise: flat, or falling 3 dB per octave from 100 Hz on
    // (with little below 80 Hz).
    static std::vector<double> WhiteNoise(size_t count, uint32_t seed);
    static std::vector<double> PinkNoise(size_t count, int rate, uint32_t seed);

    // Mean power of the speech over its active 20 ms frames (those within
    // 30 dB of its loud frames), the level a signal-to-noise ratio refers to.
    static double ActiveSpeechPower(const std::vector<double>& speech, int rate);

    // The noise scaled so that the active speech stands snrDb above it.
    static std::vector<double> ScaleNoise(const std::vector<double>& speech,
                                          const std::vector<double>& noise, int rate, double snrDb);

    static std::vector<int16_t> ToPcm(const std::vector<double>& x);
};

} // namespace BenchMeasure
