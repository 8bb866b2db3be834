#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "RateConverter.h"
#include "SyntheticRoom.h"

using namespace SonvexDevice;

using namespace SyntheticRoom;

TEST(RateConverter, RatiosBecomeTheirFractions)
{
    struct Case
    {
        int in, out, up, down;
    } cases[] = {
        {48000, 16000, 1, 3}, {16000, 48000, 3, 1},     {48000, 22050, 147, 320},
        {48000, 8000, 1, 6},  {22050, 48000, 320, 147}, {16000, 16000, 1, 1},
    };
    for (const Case& c : cases) {
        RateConverter converter(double(c.out) / c.in);
        EXPECT_EQ(c.up, converter.Up()) << c.in << " -> " << c.out;
        EXPECT_EQ(c.down, converter.Down()) << c.in << " -> " << c.out;
    }
    RateConverter nonsense(-2.0);
    EXPECT_EQ(1, nonsense.Up());
    EXPECT_EQ(1, nonsense.Down());
}

TEST(RateConverter, LengthsMustMatchTheRatio)
{
    std::vector<int16_t> in(960, 100), out(960, 7);
    RateConverter down(16000.0 / 48000.0);
    EXPECT_EQ(320, down.Convert(in.data(), 960, out.data(), 320));
    EXPECT_EQ(0, down.Convert(in.data(), 960, out.data(), 319));
    RateConverter eighth(8000.0 / 48000.0);
    // 960 samples give 160 at 8000 Hz, never the 240 of a 480-byte block.
    EXPECT_EQ(0, eighth.Convert(in.data(), 960, out.data(), 240));
    EXPECT_EQ(160, eighth.Convert(in.data(), 960, out.data(), 160));
    RateConverter odd(22050.0 / 48000.0);
    EXPECT_EQ(441, odd.Convert(in.data(), 960, out.data(), 441));
    EXPECT_EQ(441, odd.Convert(in.data(), 960, out.data(), 441));
    EXPECT_EQ(0, odd.Convert(nullptr, 960, out.data(), 441));
}

// A tone keeps its frequency and level through every conversion the devices
// use, converted block by block as the devices do.
TEST(RateConverter, SineKeepsFrequencyAndLevel)
{
    struct Case
    {
        int in, out;
        double tone;
    } cases[] = {
        {48000, 16000, 1000.0}, {16000, 48000, 1000.0}, {48000, 22050, 440.0},
        {22050, 48000, 3000.0}, {48000, 8000, 700.0},
    };
    for (const Case& c : cases) {
        const int inBlock = c.in / 50, outBlock = c.out / 50; // 20 ms
        std::vector<int16_t> in = Sine(inBlock * 50, c.in, c.tone, 10000.0);
        std::vector<int16_t> out(outBlock * 50);
        RateConverter converter(double(c.out) / c.in);
        for (int b = 0; b < 50; ++b)
            ASSERT_EQ(outBlock,
                      converter.Convert(&in[b * inBlock], inBlock, &out[b * outBlock], outBlock));
        const size_t settle = outBlock * 5;
        EXPECT_NEAR(c.tone, ToneFrequency(out, settle, out.size() - settle, c.out), c.tone * 0.002)
            << c.in << " -> " << c.out;
        double inDb = EnergyDb(in, inBlock * 5, in.size() - inBlock * 5);
        double outDb = EnergyDb(out, settle, out.size() - settle);
        EXPECT_NEAR(inDb, outDb, 0.2) << c.in << " -> " << c.out;
    }
}

TEST(RateConverter, ToneAboveTheNewNyquistIsRemoved)
{
    std::vector<int16_t> in = Sine(48000, 48000, 12000.0, 10000.0), out(16000);
    RateConverter converter(1.0 / 3.0);
    ASSERT_EQ(16000, converter.Convert(in.data(), 48000, out.data(), 16000));
    EXPECT_LT(EnergyDb(out, 1000, 15000) - EnergyDb(in, 0, 48000), -60.0);
}
