// Voice activity detection, gain control and noise suppression on synthetic signals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "AgcAns.h"
#include "Mdct.h"
#include "NoiseSuppressor.h"
#include "VoiceActivityDetector.h"

using namespace SonvexFilterCore;

namespace {

const double kPi = 3.14159265358979323846;

// Blocks of 320 samples.
struct Signal
{
    // Voiced, vowel-like speech: harmonics of a gliding pitch under a
    // 4 Hz syllable envelope (on for the first half of each 250 ms).
    static std::vector<int16_t> Speech(int blocks, double amplitude, unsigned seed = 1)
    {
        std::vector<int16_t> s(static_cast<size_t>(blocks) * 320);
        double phase = 0;
        srand(seed);
        for (size_t n = 0; n < s.size(); ++n) {
            double t = n / 16000.0;
            double f0 = 140 + 40 * std::sin(2 * kPi * 0.7 * t);
            phase += 2 * kPi * f0 / 16000.0;
            double v = 0;
            for (int h = 1; h <= 12; ++h)
                v += std::sin(h * phase) / h * (h == 3 || h == 4 ? 2.0 : 1.0);
            double env = std::fmod(t, 0.25) < 0.125 ? 1.0 : 0.0;
            s[n] = static_cast<int16_t>(amplitude * env * v / 3.0);
        }
        return s;
    }
    static std::vector<int16_t> Noise(int blocks, double amplitude, unsigned seed = 7)
    {
        std::vector<int16_t> s(static_cast<size_t>(blocks) * 320);
        srand(seed);
        for (auto& v : s)
            v = static_cast<int16_t>(amplitude * ((rand() / double(RAND_MAX)) * 2 - 1));
        return s;
    }
    static double Rms(const int16_t* s, size_t n)
    {
        double e = 0;
        for (size_t i = 0; i < n; ++i)
            e += double(s[i]) * s[i];
        return std::sqrt(e / n);
    }
};

std::vector<int> Decisions(VoiceActivityDetector& vad, const std::vector<int16_t>& s)
{
    std::vector<int> d;
    for (size_t i = 0; i + 320 <= s.size(); i += 320)
        d.push_back(vad.IsVoice(&s[i], 320));
    return d;
}

double Share(const std::vector<int>& d, size_t from, size_t to)
{
    int ones = 0;
    for (size_t i = from; i < to; ++i)
        ones += d[i] ? 1 : 0;
    return double(ones) / double(to - from);
}

} // namespace

TEST(VoiceActivity, WrongLengthIsRefusedAndLeavesNoTrace)
{
    VoiceActivityDetector a, b;
    std::vector<int16_t> s = Signal::Speech(50, 8000);
    EXPECT_EQ(-1, a.IsVoice(s.data(), 319));
    EXPECT_EQ(-1, a.IsVoice(nullptr, 320));
    EXPECT_EQ(Decisions(a, s), Decisions(b, s));
}

TEST(VoiceActivity, SpeechSilenceAndSteadyNoise)
{
    VoiceActivityDetector vad;
    std::vector<int16_t> silence(320 * 50, 0);
    std::vector<int> d = Decisions(vad, silence);
    EXPECT_EQ(0.0, Share(d, 0, d.size()));

    // Syllables: voice while the syllable sounds (and a short hangover after).
    std::vector<int16_t> speech = Signal::Speech(200, 6000);
    d = Decisions(vad, speech);
    int onVoiced = 0, onQuiet = 0, voiced = 0, quiet = 0;
    for (size_t i = 50; i < d.size(); ++i) {
        double t = std::fmod(i * 0.02, 0.25);   // frame start within the 250 ms syllable
        bool sounding = t >= 0.02 && t <= 0.09;   // wholly inside the 125 ms burst
        bool late = t >= 0.21;                    // 85 ms or more after it
        if (sounding) { ++voiced; onVoiced += d[i]; }
        if (late) { ++quiet; onQuiet += d[i]; }
    }
    EXPECT_GT(double(onVoiced) / voiced, 0.9);
    EXPECT_LT(double(onQuiet) / quiet, 0.5);

    // Steady noise is learnt as background and stops counting as voice ...
    VoiceActivityDetector noisy;
    std::vector<int16_t> noise = Signal::Noise(750, 1500);
    d = Decisions(noisy, noise);
    EXPECT_LT(Share(d, 650, 750), 0.1);
    // ... while speech on top of it is still found.
    std::vector<int16_t> mixed = Signal::Speech(100, 8000);
    std::vector<int16_t> more = Signal::Noise(100, 1500, 9);
    for (size_t i = 0; i < mixed.size(); ++i)
        mixed[i] = static_cast<int16_t>(std::max(-32768, std::min(32767, mixed[i] + more[i])));
    d = Decisions(noisy, mixed);
    EXPECT_GT(Share(d, 0, d.size()), 0.4);
}

TEST(AgcAns, FrameLengthsAndSettings)
{
    AgcAns bad;
    EXPECT_FALSE(bad.init(44100, 20, true, true));
    int16_t frame[320] = {};
    EXPECT_FALSE(bad.process_frame(frame, frame, 320));
    EXPECT_FALSE(bad.init_agc(-10, -4, 14));

    AgcAns a;
    ASSERT_TRUE(a.init(16000, 20, true, true));
    for (int i = 0; i < 320; ++i)
        frame[i] = static_cast<int16_t>(i * 7);
    int16_t copy[320];
    memcpy(copy, frame, sizeof(frame));
    EXPECT_FALSE(a.process_frame(frame, frame, 319));
    EXPECT_EQ(0, memcmp(copy, frame, sizeof(frame)));

    struct Agc { double t, lo, hi; bool ok; } agc[] = {
        { -10, -4, 14, true }, { -8, -4, 18, true }, { 1, -4, 14, false }, { -51, -4, 14, false },
        { -10, 5, 4, false }, { -10, -41, 14, false }, { -10, -4, 41, false } };
    for (const Agc& c : agc)
        EXPECT_EQ(c.ok, a.init_agc(c.t, c.lo, c.hi)) << c.t << " " << c.lo << " " << c.hi;

    struct Ns { int level; double db; } ns[] = { { 0, -9 }, { 1, -12.01 }, { 3, -18.03 }, { 30, -96 }, { 40, -96 }, { -3, -9 } };
    for (const Ns& c : ns) {
        ASSERT_TRUE(a.init_ans(c.level));
        EXPECT_NEAR(c.db, 20 * std::log10(a.GetNs()->GetFloor()), 0.01) << c.level;
    }
    EXPECT_NEAR(7493063168.0, NoiseSuppressor::GainFactor(1e-21), 1.0);
    EXPECT_DOUBLE_EQ(1.0, NoiseSuppressor::GainFactor(20.0));
    EXPECT_NEAR(std::exp(0.219383934 / 2), NoiseSuppressor::GainFactor(1.0), 0.002);
}

TEST(AgcAns, SilenceStaysSilentAndDcIsRemoved)
{
    AgcAns a;
    ASSERT_TRUE(a.init(16000, 20, true, true));
    int16_t frame[320];
    for (int f = 0; f < 50; ++f) {
        memset(frame, 0, sizeof(frame));
        ASSERT_TRUE(a.process_frame(frame, frame, 320));
        for (int16_t s : frame)
            ASSERT_EQ(0, s);
    }
    AgcAns dc;
    ASSERT_TRUE(dc.init(16000, 20, false, false));
    for (int f = 0; f < 50; ++f) {
        for (int16_t& s : frame)
            s = 10000;
        dc.process_frame(frame, frame, 320);
    }
    EXPECT_LT(std::abs(frame[319]), 150);   // the filter's DC gain is about -40 dB
}

TEST(AgcAns, GainRisesForQuietSpeechAndBacksOffForLoud)
{
    AgcAns quiet;
    ASSERT_TRUE(quiet.init(16000, 20, false, true));
    std::vector<int16_t> s = Signal::Speech(500, 1000);
    double inRms = Signal::Rms(&s[400 * 320], 100 * 320);
    for (size_t i = 0; i < s.size(); i += 320)
        quiet.process_frame(&s[i], &s[i], 320);
    double gain = quiet.GetAgc()->GetGain();
    EXPECT_GT(gain, 3.0);
    EXPECT_LE(gain, 14.0);
    EXPECT_GT(Signal::Rms(&s[400 * 320], 100 * 320), inRms * 1.3);

    AgcAns loud;
    ASSERT_TRUE(loud.init(16000, 20, false, true));
    std::vector<int16_t> l = Signal::Speech(300, 30000);
    for (size_t i = 0; i < l.size(); i += 320)
        loud.process_frame(&l[i], &l[i], 320);
    EXPECT_LT(loud.GetAgc()->GetGain(), 0.0);
    EXPECT_GE(loud.GetAgc()->GetGain(), -4.0);
}

TEST(AgcAns, SuppressionLowersSteadyNoiseAndKeepsSpeech)
{
    AgcAns a;
    ASSERT_TRUE(a.init(16000, 20, true, false));
    a.init_ans(3);
    std::vector<int16_t> noise = Signal::Noise(250, 2000);
    double inRms = Signal::Rms(&noise[150 * 320], 100 * 320);
    for (size_t i = 0; i < noise.size(); i += 320)
        a.process_frame(&noise[i], &noise[i], 320);
    double outRms = Signal::Rms(&noise[150 * 320], 100 * 320);
    EXPECT_LT(20 * std::log10(outRms / inRms), -6.0);

    std::vector<int16_t> speech = Signal::Speech(100, 8000);
    std::vector<int16_t> in = speech;
    for (size_t i = 0; i < speech.size(); i += 320)
        a.process_frame(&speech[i], &speech[i], 320);
    double kept = Signal::Rms(&speech[320 * 20], 80 * 320) / Signal::Rms(&in[320 * 19], 80 * 320);
    EXPECT_GT(kept, 0.7);
}

TEST(AgcAns, TransformOverlapAddGivesTheInputBack)
{
    const int n = 320;
    Mdct mdct(n);
    std::vector<float> x(static_cast<size_t>(4 * n));
    srand(3);
    for (auto& v : x)
        v = static_cast<float>(rand() % 20000 - 10000);
    std::vector<float> coeffs(n), block(2 * n), out(static_cast<size_t>(4 * n), 0.0f);
    for (int start = 0; start + 2 * n <= 4 * n; start += n) {
        mdct.Forward(&x[static_cast<size_t>(start)], coeffs.data());
        mdct.Inverse(coeffs.data(), block.data());
        for (int i = 0; i < 2 * n; ++i)
            out[static_cast<size_t>(start + i)] += block[static_cast<size_t>(i)];
    }
    for (int i = n; i < 3 * n; ++i)
        ASSERT_NEAR(x[static_cast<size_t>(i)], out[static_cast<size_t>(i)], 1.0f) << i;

    // The fast transform agrees with the defining sum.
    mdct.Forward(x.data(), coeffs.data());
    for (int k : { 0, 1, 7, 160, 318, 319 }) {
        std::vector<float> unit(static_cast<size_t>(n), 0.0f), basis(static_cast<size_t>(2 * n));
        unit[static_cast<size_t>(k)] = 1.0f;
        mdct.Inverse(unit.data(), basis.data());   // (2/N) w[s] cos(...) for coefficient k
        double sum = 0;
        for (int s = 0; s < 2 * n; ++s)
            sum += x[static_cast<size_t>(s)] * basis[static_cast<size_t>(s)];
        // basis holds w cos scaled by 2/N: the forward sum of x w cos is sum * N / 2.
        EXPECT_NEAR(coeffs[static_cast<size_t>(k)], sum * n / 2, 1.0) << k;
        double direct = 0;
        for (int s = 0; s < 2 * n; ++s)
            direct += basis[static_cast<size_t>(s)] * std::cos(kPi / n * (s + 0.5 + n / 2.0) * (k + 0.5));
        EXPECT_GT(direct, 0.0) << k;   // the inverse really is that cosine, not its negative
    }
}
