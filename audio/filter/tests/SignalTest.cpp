// Voice activity detection, gain control and noise suppression on synthetic signals.
#include <gtest/gtest.h>

#include <algorithm>
#include <complex>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "AgcAns.h"
#include "Fft.h"
#include "Mdct.h"
#include "NoiseSuppressor.h"
#include "SpeechLikelihood.h"
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
        bool sounding = t >= 0.02 && t <= 0.09; // wholly inside the 125 ms burst
        bool late = t >= 0.21;                  // 85 ms or more after it
        if (sounding) {
            ++voiced;
            onVoiced += d[i];
        }
        if (late) {
            ++quiet;
            onQuiet += d[i];
        }
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

    struct Agc
    {
        double t, lo, hi;
        bool ok;
    } agc[] = {{-10, -4, 14, true},  {-8, -4, 18, true}, {1, -4, 14, false},
               {-51, -4, 14, false}, {-10, 5, 4, false}, {-10, -41, 14, false},
               {-10, -4, 41, false}};
    for (const Agc& c : agc)
        EXPECT_EQ(c.ok, a.init_agc(c.t, c.lo, c.hi)) << c.t << " " << c.lo << " " << c.hi;

    struct Ns
    {
        int level;
        double db;
    } ns[] = {{0, -9}, {1, -12.01}, {3, -18.03}, {30, -96}, {40, -96}, {-3, -9}};
    for (const Ns& c : ns) {
        ASSERT_TRUE(a.init_ans(c.level));
        EXPECT_NEAR(c.db, 20 * std::log10(a.GetNs()->GetFloor()), 0.01) << c.level;
    }
    EXPECT_NEAR(7493063168.0, NoiseSuppressor::GainFactor(1e-21), 1.0);
    EXPECT_DOUBLE_EQ(1.0, NoiseSuppressor::GainFactor(20.0));
    EXPECT_NEAR(std::exp(0.219383934 / 2), NoiseSuppressor::GainFactor(1.0), 0.002);
}

// The interpolated gain against exp(E1(v) / 2) with E1(v) integrated
// directly: E1(v) = integral over u > 0 of exp(-v e^u) du.
TEST(AgcAns, GainFactorFollowsTheExponentialIntegralOverTheTable)
{
    auto e1 = [](double v) {
        const double step = 1.0 / 64;
        double sum = 0;
        for (double u = step / 2; u < 60; u += step) {
            const double term = std::exp(-v * std::exp(u));
            sum += term * step;
            if (term < 1e-300)
                break;
        }
        return sum;
    };
    for (double v = 1.3e-20; v < 13.4; v *= 1.37) {
        const double want = std::exp(e1(v) / 2);
        // The first knots lie up to twice apart, the others 1.2 times.
        EXPECT_NEAR(want, NoiseSuppressor::GainFactor(v), (v < 1e-19 ? 0.05 : 0.01) * want) << v;
    }
    EXPECT_EQ(7493063168.0, NoiseSuppressor::GainFactor(std::nan("")));
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
    EXPECT_LT(std::abs(frame[319]), 150); // the filter's DC gain is about -40 dB
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
    for (int k : {0, 1, 7, 160, 318, 319}) {
        std::vector<float> unit(static_cast<size_t>(n), 0.0f), basis(static_cast<size_t>(2 * n));
        unit[static_cast<size_t>(k)] = 1.0f;
        mdct.Inverse(unit.data(), basis.data()); // (2/N) w[s] cos(...) for coefficient k
        double sum = 0;
        for (int s = 0; s < 2 * n; ++s)
            sum += x[static_cast<size_t>(s)] * basis[static_cast<size_t>(s)];
        // basis holds w cos scaled by 2/N: the forward sum of x w cos is sum * N / 2.
        EXPECT_NEAR(coeffs[static_cast<size_t>(k)], sum * n / 2, 1.0) << k;
        double direct = 0;
        for (int s = 0; s < 2 * n; ++s)
            direct +=
                basis[static_cast<size_t>(s)] * std::cos(kPi / n * (s + 0.5 + n / 2.0) * (k + 0.5));
        EXPECT_GT(direct, 0.0) << k; // the inverse really is that cosine, not its negative
    }
}

// Every size made of 2, 3, 4 and 5 against the defining sum, in double.
TEST(AgcAns, FourierTransformAgreesWithTheDefiningSum)
{
    for (int size :
         {1, 2, 3, 4, 5, 6, 8, 9, 10, 12, 15, 16, 20, 25, 30, 48, 80, 120, 160, 240, 256}) {
        Fft fft(size);
        ASSERT_TRUE(fft.IsValid()) << size;
        std::vector<std::complex<float>> in(static_cast<size_t>(size)),
            out(static_cast<size_t>(size));
        srand(static_cast<unsigned>(size));
        for (auto& v : in)
            v = std::complex<float>(static_cast<float>(rand() % 2001 - 1000),
                                    static_cast<float>(rand() % 2001 - 1000));
        fft.Forward(in.data(), out.data());
        double worst = 0;
        for (int k = 0; k < size; ++k) {
            std::complex<double> sum = 0;
            for (int j = 0; j < size; ++j) {
                const double a = -2 * kPi * static_cast<double>(j * k % size) / size;
                sum += std::complex<double>(in[static_cast<size_t>(j)]) *
                       std::complex<double>(std::cos(a), std::sin(a));
            }
            worst =
                std::max(worst, std::abs(sum - std::complex<double>(out[static_cast<size_t>(k)])));
        }
        // Single precision: the error grows with the size and the 1000 of the input.
        EXPECT_LT(worst, 2e-3 * size) << size;
    }
    for (int size : {0, -4, 7, 14, 22})
        EXPECT_FALSE(Fft(size).IsValid()) << size;
}

namespace {

// The periodicity measure written out directly, with every sum in doubles:
// the measure under test must give the same value frame by frame.
class DirectLikelihood
{
public:
    DirectLikelihood(int n, int w) : m_n(n), m_w(w), m_b(static_cast<size_t>(n + w), 0.0) {}
    double Measure(const int16_t* x)
    {
        const int n = m_n;
        int64_t sum = 0;
        for (int i = 0; i < n; ++i)
            sum += static_cast<int64_t>(x[i]) * x[i];
        m_p[0] = m_p[1];
        m_p[1] = m_p[2];
        m_p[2] = sum / n;
        double m = static_cast<double>(std::min({m_p[0], m_p[1], m_p[2]}));
        double M = static_cast<double>(std::max({m_p[0], m_p[1], m_p[2]}));
        if (m < 1.0) {
            m = 327.0;
            M = 359.0;
        }
        int d = std::max(327, std::min(2067, static_cast<int>(std::sqrt(m + 1.0))));
        for (int i = n + m_w - 1; i >= n; --i)
            m_b[static_cast<size_t>(i)] = m_b[static_cast<size_t>(i - n)];
        for (int i = 0; i < n; ++i) {
            m_seed = m_seed * 1664525u + 1013904223u;
            int dither = static_cast<int>((m_seed >> 8) % static_cast<uint32_t>(2 * d)) - d;
            m_b[static_cast<size_t>(i)] = x[n - 1 - i] + dither;
        }
        double e0 = 0.0;
        for (int i = 0; i < n; ++i)
            e0 += m_b[static_cast<size_t>(i)] * m_b[static_cast<size_t>(i)];
        double best = 1e-16;
        for (int lag = 20; lag < m_w; lag += 2) {
            double c = 0.0, e = 0.0;
            for (int i = 0; i < n && static_cast<size_t>(lag + i) < m_b.size(); ++i) {
                c += m_b[static_cast<size_t>(i)] * m_b[static_cast<size_t>(lag + i)];
                e += m_b[static_cast<size_t>(lag + i)] * m_b[static_cast<size_t>(lag + i)];
            }
            if (c > 0.0 && e > 0.0)
                best = std::max(best, c * c / e);
        }
        double r = e0 > 0.0 ? std::sqrt(best / e0) : 0.0;
        if (10.0 * std::log10(e0 / n + 1e-30) - 20.0 * std::log10(32768.0) < -45.0)
            r *= 0.5;
        double spread = 10.0 * std::log10(M / m);
        if (spread < 2.0)
            r *= 0.7;
        else if (spread > 8.0)
            r *= 1.2;
        return std::max(0.0001, std::min(0.9999, r));
    }

private:
    int m_n, m_w;
    std::vector<double> m_b;
    int64_t m_p[3] = {0, 0, 0};
    uint32_t m_seed = 0x2545F491u;
};

} // namespace

TEST(SpeechLikelihood, GivesTheDirectSumsValueOnEveryFrame)
{
    std::vector<int16_t> fullScale(320 * 20);
    for (size_t i = 0; i < fullScale.size(); ++i)
        fullScale[i] = (i / 37) % 2 ? 32767 : -32768; // the largest products there are
    struct Case
    {
        const char* what;
        std::vector<int16_t> signal;
        int frame;
    };
    const Case cases[] = {
        {"speech, 20 ms frames", Signal::Speech(60, 12000), 320},
        {"speech, 10 ms frames", Signal::Speech(60, 3000, 3), 160},
        {"noise", Signal::Noise(40, 8000), 320},
        {"silence then full scale",
         [&] {
             std::vector<int16_t> s(320 * 10, 0);
             s.insert(s.end(), fullScale.begin(), fullScale.end());
             return s;
         }(),
         320},
    };
    for (const Case& c : cases) {
        SpeechLikelihood measured(c.frame, 320);
        DirectLikelihood direct(c.frame, 320);
        int frames = 0;
        for (size_t at = 0; at + static_cast<size_t>(c.frame) <= c.signal.size(); at += c.frame) {
            const double want = direct.Measure(&c.signal[at]);
            const double got = measured.Measure(&c.signal[at]);
            // The sums are exact either way; only the last division may
            // round differently where the compiler keeps extended precision.
            ASSERT_NEAR(want, got, 1e-12 * want) << c.what << ", frame " << frames;
            ++frames;
        }
        EXPECT_GE(frames, 30) << c.what;
    }
}

namespace {

// Blocks that take the detector, the gain control and the suppressor through
// their states: silence, syllables, quiet noise, a steady tone (which the
// detector must keep calling voice), louder noise, speech in that noise.
std::vector<int16_t> Scene()
{
    std::vector<int16_t> s(320 * 25, 0);
    auto append = [&s](const std::vector<int16_t>& part) {
        s.insert(s.end(), part.begin(), part.end());
    };
    append(Signal::Speech(75, 6000));
    append(Signal::Noise(150, 300, 11));
    std::vector<int16_t> tone(320 * 100);
    for (size_t n = 0; n < tone.size(); ++n)
        tone[n] =
            static_cast<int16_t>(std::lround(6000 * std::sin(2 * kPi * 1000.0 * n / 16000.0)));
    append(tone);
    append(Signal::Noise(200, 1500, 12));
    std::vector<int16_t> mixed = Signal::Speech(75, 8000, 2);
    std::vector<int16_t> noise = Signal::Noise(75, 1500, 13);
    for (size_t i = 0; i < mixed.size(); ++i)
        mixed[i] = static_cast<int16_t>(std::max(-32768, std::min(32767, mixed[i] + noise[i])));
    append(mixed);
    s.resize(s.size() + 320 * 25, 0);
    return s;
}

// Each figure within absolute + relative x the wanted one; on a change of
// length the whole series is printed, ready to be pasted as the new one.
void ExpectSeries(const char* what, const std::vector<double>& want, const std::vector<double>& got,
                  double absolute, double relative)
{
    std::string text;
    char number[32];
    for (double x : got) {
        snprintf(number, sizeof number, "%.9g, ", x);
        text += number;
    }
    ASSERT_EQ(want.size(), got.size()) << what << ": " << text;
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(want[i], got[i], absolute + relative * std::fabs(want[i]))
            << what << " " << i + 1;
}

} // namespace

// The decisions, block by block, of the detector on a fixed signal: any
// change to what the detector computes (not just to how) shows here.
TEST(VoiceActivity, DecisionsOnAFixedSignalStayTheSame)
{
    const std::vector<int16_t> s = Scene();
    VoiceActivityDetector vad;
    std::string got;
    for (int d : Decisions(vad, s))
        got += d ? '1' : '0';
    const std::string want = "000000000000000000000000011111111000011111111100001111111110001111111"
                             "1100001111111110001111111110000"
                             "111111111111111111111111111111111111111111111111111111111111111111111"
                             "1111110000000000000000000000000"
                             "000000000000000000000000000000000000000000000000001111111111111111111"
                             "1111111111111111111111111111111"
                             "111111111111111111111111111111111111111111111111111111111111111111111"
                             "1111111111111111111111111111111"
                             "111111111111111111111111111111111111111111111111111111111111111111111"
                             "1100000000000000000000000000000"
                             "000000000000000000000000000000000000000000000000001111111111111111111"
                             "1111111111111111111111111111111"
                             "11111111111111111111111111100000000000000000000000";
    EXPECT_EQ(want, got);
}

// Gain after every tenth block of the gain control alone, and the level of
// the suppressor's output over every ten blocks, on the same fixed signal.
TEST(AgcAns, GainAndSuppressedLevelOnAFixedSignalStayTheSame)
{
    const std::vector<int16_t> scene = Scene();
    std::vector<int16_t> s = scene;
    AgcAns agc;
    ASSERT_TRUE(agc.init(16000, 20, false, true));
    std::vector<double> gains;
    for (size_t at = 0, block = 1; at + 320 <= s.size(); at += 320, ++block) {
        ASSERT_TRUE(agc.process_frame(&s[at], &s[at], 320));
        if (block % 10 == 0)
            gains.push_back(agc.GetAgc()->GetGain());
    }
    const std::vector<double> wantGains = {
        -0.672944916, -1.23267612, 1.70684071, 3.78174914, 4.97623917, 7.27350435, 8.97590718,
        9.6647662,    10.2165281,  10.1568125, 10.0207636, 9.86720606, 9.69963705, 9.53030985,
        9.35867094,   9.18952734,  9.01602145, 8.84134387, 8.67206612, 8.49918988, 8.32369086,
        8.14850739,   7.97846377,  7.80972145, 7.63764008, 8.82316329, 8.84600268, 8.73864351,
        8.61304691,   8.49465269,  8.3907103,  8.30209072, 8.22752053, 8.16515383, 8.11314339,
        8.08318556,   7.98341098,  7.84943529, 7.70064353, 7.53970964, 7.36961487, 7.19695166,
        7.03007314,   6.85895976,  6.69033775, 6.51735896, 6.34493334, 6.17388342, 6.00459858,
        5.83965899,   5.66692957,  5.50143694, 5.32849064, 5.16152178, 4.9954712,  5.88131092,
        6.94325333,   7.59764902,  7.91034109, 8.3062242,  8.9138962,  9.3967621,  8.61440373,
        7.14946343,   5.83830384,
    };
    ExpectSeries("gain after ten blocks", wantGains, gains, 1e-6, 0.0);

    s = scene;
    AgcAns ns;
    ASSERT_TRUE(ns.init(16000, 20, true, false));
    ASSERT_TRUE(ns.init_ans(3));
    std::vector<double> levels;
    for (size_t at = 0; at + 3200 <= s.size(); at += 3200) {
        for (size_t b = at; b < at + 3200; b += 320)
            ASSERT_TRUE(ns.process_frame(&s[b], &s[b], 320));
        levels.push_back(Signal::Rms(&s[at], 3200));
    }
    // Rounding may move a sample by one step; the level moves far less.
    const std::vector<double> wantLevels = {
        0,          0,          1267.80299, 1241.5179,  1387.81534, 1557.15989, 1564.21653,
        1257.0713,  1240.74609, 1352.78416, 97.8976857, 53.8445099, 31.3972779, 27.8915478,
        26.8011835, 26.5906586, 25.9155841, 25.5367688, 26.0957671, 25.5387757, 25.9269647,
        25.8696975, 25.4183927, 25.496501,  25.4443879, 3974.79296, 4193.44663, 4193.33076,
        4193.23371, 4193.15159, 4193.04081, 4192.93263, 4192.8516,  4192.75677, 4192.6759,
        1387.48397, 263.903577, 163.278823, 147.649871, 141.091836, 134.938927, 132.87186,
        133.378143, 131.326061, 131.833817, 128.104498, 133.061926, 129.505726, 130.910012,
        131.050922, 128.986846, 131.405685, 127.575361, 129.159891, 128.242039, 1993.67629,
        2030.36378, 1508.57321, 1405.84758, 1752.39033, 2034.73311, 1940.51298, 163.418202,
        0,          0,
    };
    ExpectSeries("level over ten blocks", wantLevels, levels, 0.05, 1e-3);
}
