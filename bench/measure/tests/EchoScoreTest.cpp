#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "EchoScore.h"
#include "LeastSquares.h"
#include "SpeechSignals.h"

using namespace BenchMeasure;

namespace {
const int kRate = 16000;

struct Room
{
    std::vector<double> talker, echo, mic;
};

// The far end's echo (noise with a syllable rhythm) through a short decaying
// path, the talker quieter than it.
Room MakeRoom()
{
    Room r;
    std::vector<double> far = SpeechSignals::WhiteNoise(4 * kRate, 9);
    for (size_t i = 0; i < far.size(); ++i)
        far[i] *= 3000.0 * (0.6 + 0.4 * std::sin(2 * 3.14159265358979 * 3.0 * i / kRate));
    r.talker = SpeechSignals::Synthetic(kRate, 4.0, 2);
    r.echo.assign(far.size(), 0.0);
    const double path[] = {0.0, 0.0, 0.8, -0.3, 0.2, 0.1, -0.05};
    for (size_t i = 0; i < far.size(); ++i)
        for (size_t k = 0; k < 7 && k <= i; ++k)
            r.echo[i] += path[k] * far[i - k];
    for (double& v : r.talker)
        v *= 0.5;
    r.mic.resize(far.size());
    for (size_t i = 0; i < far.size(); ++i)
        r.mic[i] = r.echo[i] + r.talker[i];
    return r;
}

std::vector<double> Delay(const std::vector<double>& x, int lag)
{
    std::vector<double> out(x.size() + lag, 0.0);
    for (size_t i = 0; i < x.size(); ++i)
        out[i + lag] = x[i];
    return out;
}

double Db(double energyRatio) { return 10 * std::log10(energyRatio); }
} // namespace

TEST(EchoScore, DoubleTalkTellsTheTalkerKeptFromTheEchoLeft)
{
    const Room room = MakeRoom();
    double talker = 0, echo = 0;
    for (size_t i = kRate; i < 3u * kRate; ++i) {
        talker += room.talker[i] * room.talker[i];
        echo += room.echo[i] * room.echo[i];
    }
    const double micRatio = Db(talker / echo);

    // A canceller that colours and delays the talker a little (a two-tap
    // filter) and leaves a hundredth of the echo.
    std::vector<double> good(room.mic.size() + 330, 0.0);
    for (size_t i = 1; i < room.mic.size(); ++i)
        good[i + 330] = 0.8 * room.talker[i] + 0.3 * room.talker[i - 1] + 0.01 * room.echo[i];
    double coloured = 0;
    for (size_t i = kRate; i < 3u * kRate; ++i) {
        const double v = 0.8 * room.talker[i] + 0.3 * room.talker[i - 1];
        coloured += v * v;
    }
    const double colouredKept = Db(coloured / talker);
    std::vector<double> attenuated = room.mic;
    for (double& v : attenuated)
        v *= 0.35;

    struct Case
    {
        const char* name;
        std::vector<double> output;
        int lag;
        double kept, removed, overRest;
    } cases[] = {
        // Cancels nothing: keeps the talker but removes no echo.
        {"microphone as it is", room.mic, 0, 0.0, 0.0, micRatio},
        // Attenuates everything alike: the talker goes with the echo.
        {"microphone at 0.35", attenuated, 0, Db(0.35 * 0.35), -Db(0.35 * 0.35), micRatio},
        {"echo cancelled, talker coloured", good, 330, colouredKept, 40.0,
         colouredKept + 40.0 + micRatio},
    };
    for (const Case& c : cases) {
        const DoubleTalkFigures f =
            EchoScore::DoubleTalk(c.output, room.talker, room.echo, kRate, 2 * kRate, 1000);
        ASSERT_TRUE(f.valid) << c.name;
        EXPECT_EQ(f.lag, c.lag) << c.name;
        // The talker's correlation with the echo, over two seconds, lets the
        // filter take up a little of the echo.
        EXPECT_NEAR(f.talkerKeptDb, c.kept, 0.3) << c.name;
        EXPECT_NEAR(f.echoRemovedDb, c.removed, 0.5) << c.name;
        EXPECT_NEAR(f.talkerOverRestDb, c.overRest, 0.5) << c.name;
    }

    // Muting the microphone removes the echo and the talker with it.
    const DoubleTalkFigures muted = EchoScore::DoubleTalk(
        std::vector<int16_t>(room.mic.size(), 0), room.talker, room.echo, kRate, 2 * kRate, 1000);
    ASSERT_TRUE(muted.valid);
    EXPECT_LT(muted.talkerKeptDb, -60.0);
}

TEST(EchoScore, RefusesRangesOutsideTheSignals)
{
    const Room room = MakeRoom();
    const size_t n = room.mic.size();
    EXPECT_FALSE(EchoScore::DoubleTalk(room.mic, room.talker, room.echo, 0, kRate, 100).valid);
    EXPECT_FALSE(
        EchoScore::DoubleTalk(room.mic, room.talker, room.echo, n - 100, kRate, 100).valid);
    EXPECT_FALSE(
        EchoScore::DoubleTalk(room.mic, room.talker, room.echo, kRate, n - kRate, 100).valid);
    EXPECT_FALSE(EchoScore::DoubleTalk(room.mic, room.talker, room.echo, kRate, kRate, -1).valid);
    std::vector<double> silent(n, 0.0);
    EXPECT_FALSE(EchoScore::DoubleTalk(room.mic, silent, room.echo, kRate, kRate, 100).valid);
}

TEST(EchoScore, ErleIsMicrophoneOverOutputPerStretch)
{
    const Room room = MakeRoom();
    std::vector<double> out = Delay(room.mic, 320);
    for (double& v : out)
        v *= 0.1;
    EXPECT_NEAR(EchoScore::ErleDb(room.mic, out, kRate, kRate, 320), 20.0, 1e-6);
    // Without the lag, the output's first 320 samples are the delay's silence.
    EXPECT_GT(EchoScore::ErleDb(room.mic, out, 0, 320, 0), 60.0);
}

TEST(LeastSquares, SolvesPositiveDefiniteSystemsAndRefusesOthers)
{
    std::vector<double> x;
    ASSERT_TRUE(LeastSquares::Solve({4, 2, 0, 2, 5, 1, 0, 1, 3}, {6, 14, 11}, 3, &x));
    const double expected[] = {0.5, 2.0, 3.0};
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(x[i], expected[i], 1e-12);
    EXPECT_FALSE(LeastSquares::Solve({1, 2, 2, 1}, {1, 1}, 2, &x)); // indefinite
    EXPECT_FALSE(LeastSquares::Solve({1, 0, 0, 0}, {1, 1}, 2, &x)); // singular
    EXPECT_FALSE(LeastSquares::Solve({1, 0, 0}, {1, 1}, 2, &x));    // wrong size
}
