#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "NoiseSuppressor.h"
#include "RavoTestUtil.h"
#include "RealFft256.h"

using namespace RavoEngine;

TEST(RavoFft, MatchesTheDftAndInvertsExactly)
{
    std::vector<double> x(256);
    for (int i = 0; i < 256; ++i)
        x[i] = std::sin(0.3 * i) * 1000.0 + (i % 7) * 13.0 - 40.0;
    std::vector<double> spectrum = x;
    RealFft256::Forward(spectrum.data());
    const double pi = 3.14159265358979323846;
    for (int k : {0, 1, 5, 63, 64, 65, 127, 128}) {
        double re = 0.0, im = 0.0;
        for (int n = 0; n < 256; ++n) {
            re += x[n] * std::cos(2.0 * pi * k * n / 256.0);
            im -= x[n] * std::sin(2.0 * pi * k * n / 256.0);
        }
        SCOPED_TRACE(k);
        if (k == 0)
            EXPECT_NEAR(re, spectrum[0], 1e-6);
        else if (k == 128)
            EXPECT_NEAR(re, spectrum[1], 1e-6);
        else {
            EXPECT_NEAR(re, spectrum[2 * k], 1e-6);
            EXPECT_NEAR(im, spectrum[2 * k + 1], 1e-6);
        }
    }
    RealFft256::Inverse(spectrum.data());
    for (int i = 0; i < 256; ++i)
        EXPECT_NEAR(x[i], spectrum[i], 1e-9);
    // Wrong sizes change nothing.
    std::vector<double> y = x;
    RealFft256::Forward(y.data(), 128);
    EXPECT_EQ(x, y);
}

TEST(RavoNoiseSuppressor, SizesLevelsAndFloorRamp)
{
    NoiseSuppressor ns(0);
    std::vector<int16_t> block(160, 1000);
    std::vector<int16_t> copy(block.begin(), block.begin() + 100);
    EXPECT_EQ(0, ns.Noise_Sup(block.data(), 100));
    EXPECT_TRUE(std::equal(copy.begin(), copy.end(), block.begin()));
    EXPECT_EQ(0, ns.GetFrameCount());
    EXPECT_EQ(1, ns.Noise_Sup(block.data(), 160));
    EXPECT_EQ(2, ns.GetFrameCount());

    const struct
    {
        int in;
        int level;
        double floor;
    } levels[] = {{-3, 0, -10.0}, {0, 0, -10.0}, {3, 3, -25.0}, {4, 4, -30.0}, {9, 3, -25.0}};
    for (const auto& l : levels) {
        NoiseSuppressor n(l.in);
        EXPECT_EQ(l.level, n.GetLevel());
        EXPECT_DOUBLE_EQ(-2.0, n.GetFloorDb());
        std::vector<int16_t> frames(80 * 400, 0);
        n.Noise_Sup(frames.data(), 80 * 33);
        // Frame 32 set the first step of the ramp.
        EXPECT_NEAR(-2.0 + (l.floor + 2.0) * 32 * 0.0025, n.GetFloorDb(), 1e-9);
        n.Noise_Sup(frames.data(), 80 * 367);
        EXPECT_DOUBLE_EQ(l.floor, n.GetFloorDb());
    }
}

TEST(RavoNoiseSuppressor, DigitalSilenceStaysSilent)
{
    NoiseSuppressor ns(3);
    std::vector<int16_t> block(16000, 0);
    ASSERT_EQ(1, ns.Noise_Sup(block.data(), 16000));
    for (int16_t s : block)
        ASSERT_EQ(0, s);
}

// The overlap-add is normalised: a steady tone comes out at its own level
// (the window sum alone would add about 4.7 dB).
TEST(RavoNoiseSuppressor, SteadyToneKeepsItsLevel)
{
    EXPECT_NEAR(1.6924, NoiseSuppressor::WindowSum(16), 1e-3);
    EXPECT_NEAR(1.7706, NoiseSuppressor::WindowSum(0), 1e-3);
    for (int level : {0, 3}) {
        NoiseSuppressor ns(level);
        std::vector<int16_t> tone = Tone(32000, 1000.0, 8000.0, 16000);
        const double in = Rms(tone.data() + 16000, 16000);
        ns.Noise_Sup(tone.data(), 32000);
        const double out = Rms(tone.data() + 16000, 16000);
        const double db = 20.0 * std::log10(out / in);
        EXPECT_NEAR(0.0, db, 0.5) << "level " << level;
    }
    // A loud tone is not clipped early.
    NoiseSuppressor loud(0);
    std::vector<int16_t> tone = Tone(16000, 1000.0, 30000.0, 16000);
    loud.Noise_Sup(tone.data(), 16000);
    int peak = 0;
    for (int i = 8000; i < 16000; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(tone[i])));
    EXPECT_LT(peak, 32000);
}

TEST(RavoNoiseSuppressor, ReducesNoiseAroundATone)
{
    // 2.5 s of noise alone teach the estimate (the floor ramp takes 2 s);
    // then a tone joins.
    const int rate = 16000;
    const int toneStart = rate * 5 / 2;
    std::vector<int16_t> noise = Tone(rate * 4, 1000.0, 0.0, rate, 1000.0, 7);
    std::vector<int16_t> tone = Tone(rate * 4, 1000.0, 6000.0, rate);
    std::vector<int16_t> mixed(noise.size());
    for (size_t i = 0; i < mixed.size(); ++i)
        mixed[i] = static_cast<int16_t>(i < static_cast<size_t>(toneStart) ? noise[i]
                                                                           : noise[i] + tone[i]);

    for (int level : {0, 3}) {
        NoiseSuppressor ns(level);
        std::vector<int16_t> out = mixed;
        ns.Noise_Sup(out.data(), static_cast<int>(out.size()));
        // Noise alone, after the floor ramp: down by at least most of the floor.
        const double noiseIn = Rms(mixed.data() + 33000, 6000);
        const double noiseOut = Rms(out.data() + 33000 + 176, 6000);
        EXPECT_LT(20.0 * std::log10(noiseOut / noiseIn), level == 0 ? -6.0 : -15.0);
        // With the tone: the residual after fitting the tone shrinks.
        const double pi = 3.14159265358979323846;
        auto residual = [&](const int16_t* x, int start, int count) {
            double c = 0, s = 0;
            for (int i = 0; i < count; ++i) {
                c += x[start + i] * std::cos(2 * pi * 1000.0 * (start + i) / rate);
                s += x[start + i] * std::sin(2 * pi * 1000.0 * (start + i) / rate);
            }
            c *= 2.0 / count;
            s *= 2.0 / count;
            double sum = 0, tonePower = (c * c + s * s) / 2.0;
            for (int i = 0; i < count; ++i) {
                double fit = c * std::cos(2 * pi * 1000.0 * (start + i) / rate) +
                             s * std::sin(2 * pi * 1000.0 * (start + i) / rate);
                double r = x[start + i] - fit;
                sum += r * r;
            }
            return 10.0 * std::log10(tonePower / (sum / count));
        };
        const double snrIn = residual(mixed.data(), toneStart + rate / 2, rate / 2);
        const double snrOut = residual(out.data(), toneStart + rate / 2, rate / 2);
        EXPECT_GT(snrOut, snrIn + 3.0) << "level " << level << " in " << snrIn << " out " << snrOut;
    }
}
