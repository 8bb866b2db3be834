#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "AgcStage.h"
#include "RavoTestUtil.h"

using namespace RavoEngine;

TEST(RavoAgcStage, AcceptsOnlyValidSettings)
{
    const struct
    {
        int rate, ms;
        double target, minGain, maxGain;
        bool ok;
    } cases[] = {
        {16000, 10, -12, -4, 10, true},  {8000, 20, 0, -40, 40, true},
        {44100, 10, -12, -4, 10, false}, {16000, 30, -12, -4, 10, false},
        {16000, 10, 1, -4, 10, false},   {16000, 10, -51, -4, 10, false},
        {16000, 10, -12, 5, 4, false},   {16000, 10, -12, -41, 10, false},
        {16000, 10, -12, -4, 41, false},
    };
    for (const auto& c : cases) {
        AgcStage agc;
        EXPECT_EQ(c.ok, agc.Create(c.rate, c.ms, c.target, c.minGain, c.maxGain))
            << c.rate << " " << c.ms << " " << c.target << " " << c.minGain << " " << c.maxGain;
    }
    AgcStage agc;
    ASSERT_TRUE(agc.Create(16000, 10, -12, -4, 10));
    EXPECT_EQ(160, agc.FrameSamples());
    std::vector<int16_t> frame(320, 100);
    EXPECT_FALSE(agc.Process(frame.data(), 320));
    EXPECT_EQ(100, frame[0]);
    EXPECT_EQ(0, agc.GetFrameCount());
}

TEST(RavoAgcStage, SilenceStaysSilent)
{
    AgcStage agc;
    ASSERT_TRUE(agc.Create(16000, 10, -8, -4, 18));
    std::vector<int16_t> frame(160, 0);
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(agc.Process(frame.data(), 160));
        for (int16_t s : frame)
            ASSERT_EQ(0, s);
    }
}

TEST(RavoAgcStage, RaisesQuietVoiceAndHoldsLoudBelowClipping)
{
    // A voiced quiet signal (-25 dBFS) is raised, never beyond the maximum gain.
    AgcStage agc;
    ASSERT_TRUE(agc.Create(16000, 10, -10, -4, 14));
    std::vector<int16_t> quiet = Tone(16000 * 6, 200.0, 2600.0, 16000);
    for (size_t i = 0; i < quiet.size(); i += 160)
        agc.Process(quiet.data() + i, 160);
    EXPECT_GT(agc.GetGainDb(), 6.0);
    EXPECT_LE(agc.GetGainDb(), 14.0 + 1e-9);
    const double outDb = 20.0 * std::log10(Rms(quiet.data() + 16000 * 5, 16000) / 32768.0);
    EXPECT_GT(outDb, -25.0 + 6.0);

    // A loud tone is brought down and never reaches full scale.
    AgcStage loud;
    ASSERT_TRUE(loud.Create(16000, 10, -10, -4, 14));
    std::vector<int16_t> tone = Tone(16000 * 4, 200.0, 30000.0, 16000);
    int peak = 0;
    for (size_t i = 0; i < tone.size(); i += 160) {
        loud.Process(tone.data() + i, 160);
        if (i >= 16000)
            for (int j = 0; j < 160; ++j)
                peak = std::max(peak, std::abs(static_cast<int>(tone[i + j])));
    }
    EXPECT_LT(loud.GetGainDb(), 0.0);
    EXPECT_LT(peak, 32767);
}

// A sample past the clip threshold lowers the gain by 0.5 dB, and the gain
// goes on tracking for the rest of the frame; only saturation holds it.
TEST(RavoAgcStage, ASampleNearClippingBacksOffWithoutHoldingTheGain)
{
    const std::vector<int16_t> tone = Tone(16000 * 2, 200.0, 4000.0, 16000);
    auto run = [&](int spikeFrame, int16_t spike, double* gainBefore) {
        AgcStage agc;
        EXPECT_TRUE(agc.Create(16000, 10, -3, -20, 30));
        std::vector<int16_t> frame(160);
        for (int f = 0; f <= spikeFrame; ++f) {
            std::copy(tone.begin() + f * 160, tone.begin() + (f + 1) * 160, frame.begin());
            if (f == spikeFrame) {
                if (gainBefore)
                    *gainBefore = agc.GetGainDb();
                frame[5] = spike;
            }
            agc.Process(frame.data(), 160);
        }
        return agc.GetGainDb();
    };
    double before = 0;
    const double plain = run(20, 0, &before);
    ASSERT_GT(plain - before, 0.2) << "the gain must be rising in this frame";
    // A spike that lands between the threshold and full scale after the gain.
    const double linear = std::pow(10.0, before / 20.0);
    const int16_t spike = static_cast<int16_t>(27500.0 / linear);
    const double spiked = run(20, spike, nullptr);
    EXPECT_NEAR(plain - 0.5, spiked, 0.08);
}
