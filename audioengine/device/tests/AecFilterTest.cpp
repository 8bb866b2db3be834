#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "CAecFilter.h"
#include "CAudioConvert.h"
#include "EchoRoom.h"
#include "NlmsEchoState.h"

using namespace RavoTDevice;

namespace {
WAVEFORMATEX Pcm(DWORD rate)
{
    WAVEFORMATEX f;
    memset(&f, 0, sizeof(f));
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 1;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = 16;
    f.nBlockAlign = 2;
    f.nAvgBytesPerSec = rate * 2;
    return f;
}

const int kBlock = 240; // 30 ms at 8 kHz

// Runs a whole room through a filter as the manager does: played blocks go
// in two blocks ahead of the captured ones. Returns the processed microphone.
std::vector<int16_t> RunRoom(CAecFilter& f, const EchoRoom& room)
{
    std::vector<int16_t> out(room.mic);
    size_t blocks = room.mic.size() / kBlock;
    const int lead = 2;
    for (size_t b = 0; b < blocks + lead; ++b) {
        if (b < blocks)
            f.ProcessSpeekData(reinterpret_cast<const uint8_t*>(&room.farEnd[b * kBlock]),
                               kBlock * 2);
        if (b >= lead)
            f.ProcessMicData(reinterpret_cast<uint8_t*>(&out[(b - lead) * kBlock]), kBlock * 2);
    }
    return out;
}

double ErleDb(const std::vector<int16_t>& mic, const std::vector<int16_t>& out, size_t from,
              size_t to)
{
    double in = Energy(&mic[from], to - from);
    double res = Energy(&out[from], to - from) + 1.0;
    return 10 * std::log10(in / res);
}
} // namespace

// Each algorithm family takes the echo of a synthetic room well down once it
// has converged, and keeps near-end talk that starts later audible.
// Mode 3 holds adaptation whenever the microphone reaches a quarter of the
// far end's peak, so its room is a quiet one.
struct AecCase
{
    int mode;
    double echoGain;
};

class AecFamilies : public ::testing::TestWithParam<AecCase>
{};

TEST_P(AecFamilies, ReducesTheEchoOfASyntheticRoom)
{
    WAVEFORMATEX f8 = Pcm(8000);
    CAecFilter filter;
    ASSERT_EQ(1, filter.Init(GetParam().mode, &f8, &f8));
    EchoRoom room(8.0, GetParam().echoGain);
    std::vector<int16_t> out = RunRoom(filter, room);
    double early = ErleDb(room.mic, out, 0, 4000);
    double late = ErleDb(room.mic, out, 40000, 60000);
    EXPECT_GT(late, 15.0) << "mode " << GetParam().mode << ", first half second " << early << " dB";
    EXPECT_GT(late, early);
}

TEST_P(AecFamilies, KeepsNearTalkDuringDoubleTalk)
{
    WAVEFORMATEX f8 = Pcm(8000);
    CAecFilter filter;
    ASSERT_EQ(1, filter.Init(GetParam().mode, &f8, &f8));
    EchoRoom room(8.0, GetParam().echoGain, 5.0);
    std::vector<int16_t> out = RunRoom(filter, room);
    // The near talker's energy survives to within 12 dB.
    double nearEnergy = Energy(&room.nearOnly[48000], 16000);
    double outEnergy = Energy(&out[48000], 16000);
    EXPECT_GT(outEnergy, nearEnergy / 16.0) << "mode " << GetParam().mode;
}

INSTANTIATE_TEST_SUITE_P(Modes, AecFamilies,
                         ::testing::Values(AecCase{1, 0.5}, AecCase{2, 0.5}, AecCase{3, 0.1},
                                           AecCase{4, 0.5}, AecCase{5, 0.5}));

// Mode 3's threshold (a quarter of the far end's peak) is passed by any echo
// louder than that; the detector tells such an echo from a near talker by the
// path it has learned, so the echo is cancelled in loud rooms too and a near
// talker still holds the filter. One entry per direct-path gain.
class ModeThree : public ::testing::TestWithParam<double>
{};

TEST_P(ModeThree, CancelsLoudEchoAndStillKeepsANearTalker)
{
    WAVEFORMATEX f8 = Pcm(8000);
    const double gain = GetParam();
    SCOPED_TRACE(testing::Message() << "direct-path gain " << gain);
    CAecFilter echoOnly;
    ASSERT_EQ(1, echoOnly.Init(3, &f8, &f8));
    EchoRoom room(5.0, gain);
    std::vector<int16_t> out = RunRoom(echoOnly, room);
    const double steady = ErleDb(room.mic, out, 24000, 32000);
    printf("mode 3, gain %.2f: %.1f dB\n", gain, steady);
    EXPECT_GT(steady, 25.0);

    CAecFilter talk;
    ASSERT_EQ(1, talk.Init(3, &f8, &f8));
    EchoRoom both(5.0, gain, 3.0);
    std::vector<int16_t> kept = RunRoom(talk, both);
    const double nearEnergy = Energy(&both.nearOnly[28000], 12000);
    const double outEnergy = Energy(&kept[28000], 12000);
    printf("mode 3, gain %.2f: near talker kept at %.1f dB\n", gain,
           10 * std::log10(outEnergy / nearEnergy));
    EXPECT_GT(outEnergy, nearEnergy / 4.0) << "the near talker was attenuated as echo";
}

INSTANTIATE_TEST_SUITE_P(Gains, ModeThree, ::testing::Values(0.25, 0.5));

// The residual attenuation is on by default and can be switched off; the
// filter learns the same either way, so only the output's level differs.
TEST(NlmsEchoState, ResidualAttenuationIsOnByDefaultAndCanBeSwitchedOff)
{
    EchoRoom room(3.5, 0.5);
    struct Case
    {
        const char* name;
        NlmsEchoState::Config config;
    } cases[] = {{"mode 1", NlmsEchoState::ModeOne()},
                 {"mode 4", NlmsEchoState::SharedModes(8000, 4)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NlmsEchoState::Config bare = c.config;
        bare.residualGain = false;
        NlmsEchoState withGain(c.config), without(bare);
        std::vector<int16_t> on(room.mic.size()), off(room.mic.size());
        for (size_t i = 0; i < room.mic.size(); ++i) {
            on[i] = withGain.Process(room.mic[i], room.farEnd[i]);
            off[i] = without.Process(room.mic[i], room.farEnd[i]);
            ASSERT_LE(std::abs(on[i]), std::abs(off[i]) + 1) << "sample " << i;
        }
        // At least the 0.35 of the attenuation (9 dB) over the settled echo.
        const double gained = ErleDb(room.mic, on, 16000, 28000);
        const double bareErle = ErleDb(room.mic, off, 16000, 28000);
        EXPECT_GT(gained - bareErle, 8.5) << gained << " against " << bareErle << " dB";
        EXPECT_GT(bareErle, 8.0);
    }
}

// Modes 3 to 5 keep a near talker quieter than their threshold puts near
// talk (a quarter, 0.85 and 1.5 times the far end's peak) in a loud room, also
// after seconds of double talk: the output holds the talker at nearly its
// level, above what is left of the echo.
class SharedModes : public ::testing::TestWithParam<int>
{};

TEST_P(SharedModes, KeepANearTalkerQuieterThanTheThreshold)
{
    WAVEFORMATEX f8 = Pcm(8000);
    CAecFilter filter;
    ASSERT_EQ(1, filter.Init(GetParam(), &f8, &f8));
    // The talker peaks at 2000, under a quarter of the far end's peak.
    EchoRoom room(13.0, 0.5, 6.0, 7, 2000);
    std::vector<int16_t> out = RunRoom(filter, room);
    // Over the last 1.5 s of 7 s of double talk: the talker's share of the
    // output (its projection) and the rest.
    const size_t from = 92000, count = 12000;
    double cross = 0, talk = 0;
    for (size_t i = from; i < from + count; ++i) {
        cross += static_cast<double>(out[i]) * room.nearOnly[i];
        talk += static_cast<double>(room.nearOnly[i]) * room.nearOnly[i];
    }
    const double kept = cross / talk;
    double rest = 0;
    for (size_t i = from; i < from + count; ++i) {
        const double r = out[i] - kept * room.nearOnly[i];
        rest += r * r;
    }
    const double keptDb = 20 * std::log10(std::fabs(kept) + 1e-9);
    const double talkerOverRestDb = 10 * std::log10(kept * kept * talk / (rest + 1.0));
    EXPECT_GT(keptDb, -3.0) << "mode " << GetParam();
    EXPECT_GT(talkerOverRestDb, 4.0) << "mode " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Modes, SharedModes, ::testing::Values(3, 4, 5));

// After the echo path changes (here its sign turns over), mode 3 learns the
// new one within a second or two instead of taking the new echo for near
// talk.
TEST(AecFilter, ModeThreeLearnsAChangedEchoPath)
{
    WAVEFORMATEX f8 = Pcm(8000);
    CAecFilter filter;
    ASSERT_EQ(1, filter.Init(3, &f8, &f8));
    EchoRoom before(6.0, 0.5), after(6.0, -0.5, -1, 11);
    const size_t change = 24000;
    EchoRoom room(before);
    std::copy(after.farEnd.begin() + change, after.farEnd.end(), room.farEnd.begin() + change);
    std::copy(after.mic.begin() + change, after.mic.end(), room.mic.begin() + change);
    std::vector<int16_t> out = RunRoom(filter, room);
    EXPECT_GT(ErleDb(room.mic, out, 16000, change), 25.0) << "before the change";
    EXPECT_GT(ErleDb(room.mic, out, change + 12000, change + 20000), 20.0)
        << "1.5 to 2.5 s after the change";
}

TEST(AecFilter, WaitsForFiftyMillisecondsOfFarEndBeforeCancelling)
{
    WAVEFORMATEX f8 = Pcm(8000);
    CAecFilter filter;
    ASSERT_EQ(1, filter.Init(1, &f8, &f8));
    std::vector<int16_t> farEnd(kBlock, 3000), mic(kBlock, 2000);
    std::vector<int16_t> copy(mic);
    // 30 ms ahead: not enough, the block passes unchanged.
    filter.ProcessSpeekData(reinterpret_cast<uint8_t*>(farEnd.data()), kBlock * 2);
    filter.ProcessMicData(reinterpret_cast<uint8_t*>(copy.data()), kBlock * 2);
    EXPECT_EQ(mic, copy);
    EXPECT_EQ(0u, filter.GetMicBytes());
    // 60 ms ahead: the canceller works on it.
    filter.ProcessSpeekData(reinterpret_cast<uint8_t*>(farEnd.data()), kBlock * 2);
    filter.ProcessMicData(reinterpret_cast<uint8_t*>(copy.data()), kBlock * 2);
    EXPECT_NE(mic, copy);
    EXPECT_EQ(static_cast<uint32_t>(kBlock * 2), filter.GetMicBytes());
}

TEST(AecFilter, OtherModesKeepTheAlignmentAndChangeNothing)
{
    WAVEFORMATEX f8 = Pcm(8000);
    CAecFilter filter;
    ASSERT_EQ(1, filter.Init(6, &f8, &f8));
    EchoRoom room(1.0);
    std::vector<int16_t> out = RunRoom(filter, room);
    EXPECT_EQ(room.mic, out);
    EXPECT_GT(filter.GetMicBytes(), 0u);
}

TEST(AecFilter, SilentMicrophoneSamplesStaySilentAndTheStateStillAdvances)
{
    // The same room twice, once with every tenth microphone sample zeroed:
    // outside those samples the output must stay close to the plain run, which
    // holds only when zero samples advance the canceller too.
    WAVEFORMATEX f8 = Pcm(8000);
    EchoRoom room(6.0);
    EchoRoom holed(room);
    for (size_t i = 0; i < holed.mic.size(); i += 10)
        holed.mic[i] = 0;
    for (size_t i = 5; i < holed.farEnd.size(); i += 10)
        holed.farEnd[i] = 0;
    CAecFilter a, b;
    ASSERT_EQ(1, a.Init(1, &f8, &f8));
    ASSERT_EQ(1, b.Init(1, &f8, &f8));
    std::vector<int16_t> outA = RunRoom(a, room);
    std::vector<int16_t> outB = RunRoom(b, holed);
    for (size_t i = 0; i < holed.mic.size(); i += 10)
        EXPECT_EQ(0, outB[i]);
    EXPECT_GT(ErleDb(holed.mic, outB, 32000, 48000), 15.0);
}

TEST(AecFilter, RefusesFarBlocksLongerThanOneSecondAndBadInit)
{
    WAVEFORMATEX f8 = Pcm(8000);
    CAecFilter filter;
    ASSERT_EQ(1, filter.Init(1, &f8, &f8));
    std::vector<uint8_t> big(16002, 1);
    filter.ProcessSpeekData(big.data(), static_cast<uint32_t>(big.size()));
    EXPECT_EQ(0u, filter.GetSpeakerBytes());

    WAVEFORMATEX bad = f8;
    bad.nAvgBytesPerSec = 0;
    EXPECT_EQ(0, filter.Init(1, &bad, &f8));
    EXPECT_FALSE(filter.IsInitialised());
    // Uninitialised: both calls do nothing.
    std::vector<int16_t> mic(kBlock, 100);
    filter.ProcessSpeekData(reinterpret_cast<uint8_t*>(mic.data()), kBlock * 2);
    filter.ProcessMicData(reinterpret_cast<uint8_t*>(mic.data()), kBlock * 2);
    EXPECT_EQ(std::vector<int16_t>(kBlock, 100), mic);
}

TEST(AecFilter, ConvertsAWiderSpeakerFormatToTheMicrophoneRate)
{
    WAVEFORMATEX f8 = Pcm(8000), f16 = Pcm(16000);
    CAecFilter filter;
    ASSERT_EQ(1, filter.Init(1, &f8, &f16));
    std::vector<int16_t> farEnd(640, 500);
    filter.ProcessSpeekData(reinterpret_cast<uint8_t*>(farEnd.data()), 1280);
    // 40 ms at 16 kHz become 40 ms at 8 kHz, give or take the converter's edge.
    EXPECT_NEAR(640.0, filter.GetSpeakerBytes(), 32.0);
}

TEST(AudioConvert, HalvesAndDoublesTheRate)
{
    WAVEFORMATEX f8 = Pcm(8000), f16 = Pcm(16000);
    CAudioConvert down, up;
    ASSERT_EQ(1, down.Open(&f16, &f8));
    ASSERT_EQ(1, up.Open(&f8, &f16));
    std::vector<int16_t> in(640, 1000), mid(640), out(1280);
    AUDIO_STREAM_HEAD a = {reinterpret_cast<uint8_t*>(in.data()),  1280, 0,
                           reinterpret_cast<uint8_t*>(mid.data()), 1280, 0};
    ASSERT_EQ(1, down.Convert(&a));
    EXPECT_NEAR(640.0, a.outputLength, 32.0);
    AUDIO_STREAM_HEAD b = {reinterpret_cast<uint8_t*>(mid.data()), a.outputLength, 0,
                           reinterpret_cast<uint8_t*>(out.data()), 2560,           0};
    ASSERT_EQ(1, up.Convert(&b));
    EXPECT_NEAR(1280.0, b.outputLength, 64.0);
    // A constant level survives both ways (away from the edges).
    EXPECT_NEAR(1000, out[b.outputLength / 4], 60);

    WAVEFORMATEX odd = Pcm(8000);
    odd.wFormatTag = 0x1234;
    CAudioConvert none;
    EXPECT_EQ(0, none.Open(&odd, &f16));
    AUDIO_STREAM_HEAD c = a;
    EXPECT_EQ(0, none.Convert(&c));
}
