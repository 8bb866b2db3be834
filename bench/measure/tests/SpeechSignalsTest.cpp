#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "SpeechSignals.h"

using BenchMeasure::SpeechSignals;

namespace {
const double kPi = 3.14159265358979323846;

// Mean power per octave band [low, 2 low) from 256-point DFTs of
// consecutive blocks, in dB.
double OctaveDb(const std::vector<double>& x, int rate, double low)
{
    const int n = 256;
    const int first = static_cast<int>(std::ceil(low * n / rate));
    const int last = static_cast<int>(std::ceil(2 * low * n / rate));
    std::vector<double> cosine(n), sine(n), window(n);
    for (int i = 0; i < n; ++i) {
        cosine[i] = std::cos(2 * kPi * i / n);
        sine[i] = std::sin(2 * kPi * i / n);
        window[i] = 0.5 - 0.5 * cosine[i];
    }
    double sum = 0;
    int blocks = 0;
    for (size_t at = 0; at + n <= x.size() && blocks < 100; at += n, ++blocks)
        for (int k = first; k < last; ++k) {
            double re = 0, im = 0;
            for (int i = 0; i < n; ++i) {
                const double v = window[i] * x[at + i];
                re += v * cosine[(k * i) % n];
                im -= v * sine[(k * i) % n];
            }
            sum += re * re + im * im;
        }
    return 10 * std::log10(sum / blocks);
}
} // namespace

TEST(SpeechSignals, WhiteNoiseIsFlatAndPinkNoiseHoldsEqualPowerPerOctave)
{
    const int rate = 16000;
    const std::vector<double> white = SpeechSignals::WhiteNoise(60000, 1);
    const std::vector<double> pink = SpeechSignals::PinkNoise(60000, rate, 1);
    // Octaves 250 Hz and 4000 Hz apart by four octaves: white noise holds
    // twice the power in each higher octave, pink the same.
    EXPECT_NEAR(OctaveDb(white, rate, 4000) - OctaveDb(white, rate, 250), 4 * 3.01, 1.5);
    EXPECT_NEAR(OctaveDb(pink, rate, 4000) - OctaveDb(pink, rate, 250), 0.0, 1.5);
    EXPECT_NEAR(OctaveDb(pink, rate, 1000) - OctaveDb(pink, rate, 250), 0.0, 1.5);
    // Little of the pink noise lies below 80 Hz, where the suppressors'
    // high-pass filters would count as noise removal.
    EXPECT_LT(OctaveDb(pink, rate, 31.25) - OctaveDb(pink, rate, 250), -6.0);
    for (const std::vector<double>* noise : {&white, &pink}) {
        double power = 0;
        for (double v : *noise)
            power += v * v;
        EXPECT_NEAR(power / noise->size(), 1.0, 1e-9);
    }
}

TEST(SpeechSignals, NoiseIsScaledToTheSnrAgainstTheActiveSpeech)
{
    const int rate = 16000;
    const std::vector<double> speech = SpeechSignals::Synthetic(rate, 10.0, 3);
    // Active frames exclude the pauses: their power is above the plain mean.
    double mean = 0;
    for (double v : speech)
        mean += v * v;
    mean /= speech.size();
    const double active = SpeechSignals::ActiveSpeechPower(speech, rate);
    EXPECT_GT(active, mean * 1.2);
    for (double snr : {5.0, 15.0}) {
        const std::vector<double> noise = SpeechSignals::ScaleNoise(
            speech, SpeechSignals::PinkNoise(speech.size(), rate, 2), rate, snr);
        double power = 0;
        for (double v : noise)
            power += v * v;
        power /= noise.size();
        EXPECT_NEAR(10 * std::log10(active / power), snr, 1e-6);
    }
}

TEST(SpeechSignals, SyntheticSpeechPausesForAQuarterOfTheTime)
{
    const int rate = 16000;
    const std::vector<double> speech = SpeechSignals::Synthetic(rate, 10.0, 1);
    int silent = 0, frames = 0;
    for (size_t at = 0; at + 320 <= speech.size(); at += 320, ++frames) {
        double power = 0;
        for (int i = 0; i < 320; ++i)
            power += speech[at + i] * speech[at + i];
        silent += power == 0.0;
    }
    EXPECT_NEAR(static_cast<double>(silent) / frames, 0.7 / 2.5, 0.03);
}
