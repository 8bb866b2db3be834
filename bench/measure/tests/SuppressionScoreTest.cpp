#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "SpeechSignals.h"
#include "SuppressionScore.h"

using namespace BenchMeasure;

namespace {
const int kRate = 16000;

struct Noisy
{
    std::vector<double> speech, noise;
};

Noisy MakeNoisy(double snrDb)
{
    Noisy n;
    n.speech = SpeechSignals::Synthetic(kRate, 8.0, 1);
    n.noise = SpeechSignals::ScaleNoise(n.speech, SpeechSignals::WhiteNoise(n.speech.size(), 5),
                                        kRate, snrDb);
    return n;
}

// speechGain x speech + noiseGain x noise, delayed.
std::vector<int16_t> Output(const Noisy& n, double speechGain, double noiseGain, int delay)
{
    std::vector<double> out(n.speech.size() + delay, 0.0);
    for (size_t i = 0; i < n.speech.size(); ++i)
        out[i + delay] = speechGain * n.speech[i] + noiseGain * n.noise[i];
    return SpeechSignals::ToPcm(out);
}
} // namespace

TEST(SuppressionScore, TellsNoiseRemovedFromSpeechLost)
{
    const Noisy n = MakeNoisy(10.0);
    struct Case
    {
        const char* name;
        double speechGain, noiseGain;
        int delay;
        double removed, change, gain; // dB
    } cases[] = {
        {"passes the input unchanged", 1.0, 1.0, 0, 0.0, 0.0, 0.0},
        {"halves everything, late", 0.5, 0.5, 320, 6.02, -6.02, 0.0},
        {"lowers only the noise", 1.0, 0.1, 176, 20.0, 0.0, 20.0},
        {"lowers the talker more than the noise", 0.25, 0.5, 40, 6.02, -12.04, -6.02},
    };
    for (const Case& c : cases) {
        const SuppressionFigures f = SuppressionScore::Measure(
            n.speech, n.noise, Output(n, c.speechGain, c.noiseGain, c.delay), kRate, kRate, 1000);
        ASSERT_TRUE(f.valid) << c.name;
        EXPECT_EQ(f.delay, c.delay) << c.name;
        // The noise's power in the active frames differs a little from its
        // power in the pauses, and the output is rounded to whole samples.
        EXPECT_NEAR(f.noiseRemovedDb, c.removed, 0.3) << c.name;
        EXPECT_NEAR(f.speechChangeDb, c.change, 0.3) << c.name;
        EXPECT_NEAR(f.snrGainDb, c.gain, 0.5) << c.name;
        EXPECT_NEAR(f.snrInDb, 10.0, 0.5) << c.name;
        EXPECT_NEAR(f.snrGainDb, f.noiseRemovedDb + f.speechChangeDb, 1e-9) << c.name;
    }
}

TEST(SuppressionScore, SilenceInPausesCountsAsOneStepOfNoiseNotAsInfinity)
{
    const Noisy n = MakeNoisy(5.0);
    const SuppressionFigures f =
        SuppressionScore::Measure(n.speech, n.noise, Output(n, 1.0, 0.0, 0), kRate, kRate, 1000);
    ASSERT_TRUE(f.valid);
    EXPECT_TRUE(std::isfinite(f.noiseRemovedDb));
    EXPECT_GT(f.noiseRemovedDb, 40.0);
    EXPECT_NEAR(f.speechChangeDb, 0.0, 0.1);
}

TEST(SuppressionScore, ASilentOutputOrASpeechWithoutPausesGivesNoFigures)
{
    const Noisy n = MakeNoisy(5.0);
    EXPECT_FALSE(
        SuppressionScore::Measure(n.speech, n.noise, Output(n, 0.0, 0.0, 0), kRate, kRate, 1000)
            .valid);
    // A tone without pauses.
    std::vector<double> tone(n.speech.size());
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = 3000 * std::sin(0.1 * i);
    EXPECT_FALSE(
        SuppressionScore::Measure(tone, n.noise, SpeechSignals::ToPcm(tone), kRate, kRate, 1000)
            .valid);
    // Counting starts past the end.
    EXPECT_FALSE(SuppressionScore::Measure(n.speech, n.noise, Output(n, 1.0, 1.0, 0), kRate,
                                           n.speech.size(), 1000)
                     .valid);
}
