#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "AecCore.h"
#include "AecLattice.h"
#include "AecTransform.h"
#include "SyntheticRoom.h"

using namespace SonvexDevice;

using namespace SyntheticRoom;

TEST(AecTransform, ImpulseAtOneGivesTheTwiddles)
{
    const double pi = 3.14159265358979323846;
    for (int n : {2, 3, 12, 48, 64, 256}) {
        std::vector<std::complex<float>> x(n);
        x[1] = 1.0f;
        ASSERT_TRUE(AecTransform::Forward(x.data(), n));
        for (int k = 0; k < n; ++k) {
            EXPECT_NEAR(std::cos(2 * pi * k / n), x[k].real(), 2e-5) << n << " bin " << k;
            EXPECT_NEAR(std::sin(2 * pi * k / n), x[k].imag(), 2e-5) << n << " bin " << k;
        }
    }
    std::vector<std::complex<float>> big(300, std::complex<float>(1.0f, 2.0f));
    EXPECT_FALSE(AecTransform::Forward(big.data(), 300));
    EXPECT_EQ(std::complex<float>(1.0f, 2.0f), big[7]);
}

TEST(AecCore, InitChecksItsParameters)
{
    struct Case
    {
        int rate;
        float frame, path;
        bool ok;
    } cases[] = {
        {16000, 2.0f, 128.0f, true},  {8000, 4.0f, 64.0f, true},     {16000, 2.0f, 1000.0f, true},
        {44100, 2.0f, 128.0f, false}, {16000, 0.25f, 128.0f, false}, {16000, 12.0f, 128.0f, false},
        {8000, 0.3f, 128.0f, false},
    };
    for (const Case& c : cases) {
        AecCore core;
        EXPECT_EQ(c.ok, core.init(c.rate, c.frame, c.path)) << c.rate << " " << c.frame;
    }
    AecCore core;
    ASSERT_TRUE(core.init(16000, 2.0f, 128.0f));
    EXPECT_EQ(32, core.FrameSamples());
    EXPECT_EQ(48, core.Filter()->Channels());
    EXPECT_EQ(64, core.Filter()->Stages());
    std::vector<int16_t> farPcm(33, 1), nearEnd(33, 2), out(33, 99);
    EXPECT_FALSE(core.process(farPcm.data(), nearEnd.data(), out.data(), 33));
    EXPECT_EQ(99, out[0]);
}

namespace {
struct Room
{
    std::vector<int16_t> farPcm, mic, talk;
};

// Speech-like farPcm end through a room of 300 ms (reverberation time 150 ms),
// with noise; near-end talk from second talkFrom on when asked.
Room MakeRoom(int seconds, int talkFrom)
{
    const int n = 16000 * seconds;
    Room room;
    std::vector<double> farPcm = SpeechLike(n, 1);
    std::vector<double> echo = Convolve(farPcm, ImpulseResponse(16000, 5.0, 150.0, 300.0, 0.5, 7));
    std::vector<double> talk(n, 0.0);
    if (talkFrom >= 0) {
        std::vector<double> voice = SpeechLike(n, 2, 6000.0);
        for (int i = talkFrom * 16000; i < n; ++i)
            talk[i] = voice[i];
    }
    room.farPcm = ToPcm(farPcm);
    room.mic = ToPcm(Sum(Sum(echo, talk), Noise(n, 10.0, 3)));
    room.talk = ToPcm(talk);
    return room;
}
} // namespace

TEST(AecCore, RemovesTheEchoOfASyntheticRoom)
{
    Room room = MakeRoom(8, -1);
    std::vector<int16_t> out(room.mic.size());
    AecCore core;
    ASSERT_TRUE(core.init(16000, 2.0f, 128.0f));
    for (size_t i = 0; i + 32 <= room.mic.size(); i += 32)
        ASSERT_TRUE(core.process(&room.farPcm[i], &room.mic[i], &out[i], 32));
    const double erle =
        EnergyDb(room.mic, 5 * 16000, 3 * 16000) - EnergyDb(out, 5 * 16000, 3 * 16000);
    EXPECT_GT(erle, 25.0);
}

TEST(AecCore, SilentFarEndPassesTheNearEnd)
{
    const int n = 16000 * 2;
    std::vector<int16_t> farPcm(n, 0);
    std::vector<int16_t> nearEnd = ToPcm(SpeechLike(n, 3, 8000.0));
    std::vector<int16_t> out(n);
    AecCore core;
    ASSERT_TRUE(core.init(16000, 2.0f, 128.0f));
    for (int i = 0; i + 32 <= n; i += 32)
        ASSERT_TRUE(core.process(&farPcm[i], &nearEnd[i], &out[i], 32));
    EXPECT_NEAR(EnergyDb(nearEnd, 16000, 16000), EnergyDb(out, 16000, 16000), 1.5);
}

// A steady echo delay of 20 to 40 ms is taken into the far-end delay line
// after the first 30 s: the line then holds the delay less 12 ms.
TEST(AecCore, SteadyEchoDelayMovesTheDelayLine)
{
    const int n = 16000 * 31, delay = 16 * 30; // 30 ms
    std::vector<int16_t> farPcm = ToPcm(Noise(n, 3000.0, 9));
    std::vector<int16_t> mic(n, 0), out(n);
    for (int i = delay; i < n; ++i)
        mic[i] = static_cast<int16_t>(farPcm[i - delay] / 2);
    AecCore core;
    ASSERT_TRUE(core.init(16000, 2.0f, 128.0f));
    int requests = 0;
    for (int i = 0; i + 32 <= n; i += 32) {
        ASSERT_TRUE(core.process(&farPcm[i], &mic[i], &out[i], 32));
        requests += core.SyncRequest() != 0;
        if (i < 16000 * 30 - 32) {
            ASSERT_EQ(0, core.FarDelay()) << "before 30 s, at sample " << i;
        }
    }
    EXPECT_EQ(0, requests);
    EXPECT_NEAR(16 * 18, core.FarDelay(), 16 * 2);
}

// The four-lane path computes what the plain loops compute.
TEST(AecCore, VectorAndPlainPathsAgree)
{
    if (!AecLattice::VectorPath())
        GTEST_SKIP() << "no SSE on this processor";
    Room room = MakeRoom(4, 3);
    std::vector<int16_t> outs[2];
    for (int vector = 0; vector < 2; ++vector) {
        AecLattice::UseVectorPath(vector != 0);
        outs[vector].resize(room.mic.size());
        AecCore core;
        ASSERT_TRUE(core.init(16000, 2.0f, 128.0f));
        for (size_t i = 0; i + 32 <= room.mic.size(); i += 32)
            ASSERT_TRUE(core.process(&room.farPcm[i], &room.mic[i], &outs[vector][i], 32));
    }
    AecLattice::UseVectorPath(true);
    int largest = 0;
    for (size_t i = 0; i < 16000; ++i)
        largest = std::max(largest, std::abs(outs[0][i] - outs[1][i]));
    EXPECT_LE(largest, 4);
    for (int second = 1; second < 4; ++second)
        EXPECT_NEAR(EnergyDb(outs[0], second * 16000, 16000),
                    EnergyDb(outs[1], second * 16000, 16000), 0.5);
}
