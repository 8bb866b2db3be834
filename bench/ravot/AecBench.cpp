// Echo canceller benchmark. A synthetic room at 8000 Hz: coloured far-end
// noise with a syllable rhythm, an echo path of a 5 ms delay and a decaying
// tail, a path change half-way, and near-end talk in the last quarter.
// Every mode of the canceller and speexdsp's canceller see the same signals
// in the same 30 ms blocks; the program prints the real-time factor of each,
// the echo return loss enhancement (ERLE) per second of echo-only audio, the
// first second's and the steady ERLE before and after the path change, and in
// double talk how much of the near talker each output keeps, how much of the
// echo it removes and the talker over everything else left.
//
// Like with like: the canceller's modes attenuate their residual (mode 1 and
// 3 to 5 by 0.35, or 0.01 while the near end is quiet; mode 2 by its
// coherence gain). They compare with speexdsp followed by its preprocessor
// with denoise on (which is what runs its residual echo suppression). Mode 2
// also runs without its coherence gain and the NLMS modes without their
// attenuation, beside speexdsp alone.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include <speex/speex_echo.h>
#include <speex/speex_preprocess.h>

#include "../BenchRow.h"
#include "ApaEchoState.h"
#include "CAecFilter.h"
#include "EchoScore.h"
#include "NlmsEchoState.h"

using namespace RavoTDevice;
using BenchMeasure::EchoScore;

namespace {
const int kRate = 8000;
const int kBlock = 240;
const int kSeconds = 24;
const int kSamples = kRate * kSeconds;
const int kChangeAt = kSamples / 2;
const int kNearFrom = kSamples * 3 / 4;

uint32_t g_seed = 12345;
uint32_t Next()
{
    g_seed = g_seed * 1664525u + 1013904223u;
    return g_seed >> 8;
}
double Uniform() { return (Next() % 20001) / 10000.0 - 1.0; }

std::vector<double> Path(int delay, double gain, double tailGain, double decay)
{
    std::vector<double> p(delay + 400, 0.0);
    p[delay] = gain;
    for (size_t k = delay + 1; k < p.size(); ++k)
        p[k] = tailGain * Uniform() * std::exp(-(static_cast<double>(k) - delay) / decay);
    return p;
}

struct Signals
{
    std::vector<int16_t> farEnd, mic, echo, nearTalk;
    std::vector<double> echoPart, talkerPart; // the parts of the microphone signal
};

Signals MakeRoom()
{
    Signals s;
    s.farEnd.resize(kSamples);
    s.mic.resize(kSamples);
    s.echo.resize(kSamples);
    s.nearTalk.assign(kSamples, 0);
    s.echoPart.resize(kSamples);
    s.talkerPart.resize(kSamples);
    double a = 0, b = 0;
    for (int i = 0; i < kSamples; ++i) {
        a = 0.6 * a + Uniform();
        b = 0.3 * b + a;
        double env = 0.55 + 0.45 * std::sin(2 * 3.14159265 * 3.0 * i / kRate);
        s.farEnd[i] = static_cast<int16_t>(b * 4000 * env);
    }
    std::vector<double> first = Path(40, 0.5, 0.15, 40.0);
    std::vector<double> second = Path(56, -0.4, 0.15, 60.0);
    for (int i = 0; i < kSamples; ++i) {
        const std::vector<double>& p = i < kChangeAt ? first : second;
        double e = 0;
        for (size_t k = 0; k < p.size() && k <= static_cast<size_t>(i); ++k)
            e += p[k] * s.farEnd[i - k];
        double v = 0;
        if (i >= kNearFrom) {
            double t = static_cast<double>(i) / kRate;
            v = 3000 *
                (0.7 * std::sin(2 * 3.14159265 * 440 * t) +
                 0.3 * std::sin(2 * 3.14159265 * 1320 * t)) *
                (0.5 + 0.5 * std::sin(2 * 3.14159265 * 2.5 * t));
        }
        s.echo[i] = static_cast<int16_t>(e);
        s.nearTalk[i] = static_cast<int16_t>(v);
        s.echoPart[i] = e;
        s.talkerPart[i] = v;
        double m = e + v + (static_cast<int>(Next() % 21) - 10);
        s.mic[i] = static_cast<int16_t>(m > 32767 ? 32767 : (m < -32768 ? -32768 : m));
    }
    return s;
}

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER f)
{
    return static_cast<double>(b.QuadPart - a.QuadPart) / f.QuadPart;
}

struct Result
{
    const char* name;
    double rtf;
    std::vector<int16_t> out;
};

Result RunMode(const Signals& s, int mode)
{
    WAVEFORMATEX f;
    memset(&f, 0, sizeof(f));
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 1;
    f.nSamplesPerSec = kRate;
    f.nAvgBytesPerSec = kRate * 2;
    f.nBlockAlign = 2;
    f.wBitsPerSample = 16;
    CAecFilter filter;
    filter.Init(mode, &f, &f);
    Result r{nullptr, 0, s.mic};
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    const int blocks = kSamples / kBlock;
    const int lead = 2; // the far end runs 60 ms ahead, as on the devices
    for (int b = 0; b < blocks + lead; ++b) {
        if (b < blocks)
            filter.ProcessSpeekData(reinterpret_cast<const uint8_t*>(&s.farEnd[b * kBlock]),
                                    kBlock * 2);
        if (b >= lead)
            filter.ProcessMicData(reinterpret_cast<uint8_t*>(&r.out[(b - lead) * kBlock]),
                                  kBlock * 2);
    }
    QueryPerformanceCounter(&t1);
    r.rtf = Seconds(t0, t1, freq) / kSeconds;
    return r;
}

// An algorithm run sample by sample as the filter feeds it (the filter pairs
// microphone sample i with far-end sample i and leaves a silent microphone
// sample silent): mode 2 without its coherence gain, the NLMS modes without
// their residual attenuation.
template <typename Step>
Result RunAlone(const Signals& s, const char* name, Step step)
{
    Result r{name, 0, s.mic};
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < kSamples; ++i) {
        const int16_t out = step(s.mic[i], s.farEnd[i]);
        if (s.mic[i] != 0)
            r.out[i] = out;
    }
    QueryPerformanceCounter(&t1);
    r.rtf = Seconds(t0, t1, freq) / kSeconds;
    return r;
}

Result RunApaWithoutGain(const Signals& s)
{
    ApaEchoState apa(64, false);
    return RunAlone(s, "mode 2, no coherence gain",
                    [&](int16_t mic, int16_t farSample) { return apa.Process(farSample, mic); });
}

Result RunNlmsWithoutGain(const Signals& s, int mode, const char* name)
{
    NlmsEchoState::Config config =
        mode == 1 ? NlmsEchoState::ModeOne() : NlmsEchoState::SharedModes(kRate, mode);
    config.residualGain = false;
    NlmsEchoState nlms(config);
    return RunAlone(s, name,
                    [&](int16_t mic, int16_t farSample) { return nlms.Process(mic, farSample); });
}

Result RunSpeex(const Signals& s, bool suppressor)
{
    Result r{suppressor ? "speexdsp + suppressor" : "speexdsp", 0,
             std::vector<int16_t>(kSamples, 0)};
    SpeexEchoState* st = speex_echo_state_init(kBlock, 1024);
    int rate = kRate;
    speex_echo_ctl(st, SPEEX_ECHO_SET_SAMPLING_RATE, &rate);
    SpeexPreprocessState* pre = nullptr;
    if (suppressor) {
        // Its residual echo suppression runs only with denoise on.
        pre = speex_preprocess_state_init(kBlock, kRate);
        int on = 1, off = 0;
        speex_preprocess_ctl(pre, SPEEX_PREPROCESS_SET_DENOISE, &on);
        speex_preprocess_ctl(pre, SPEEX_PREPROCESS_SET_AGC, &off);
        speex_preprocess_ctl(pre, SPEEX_PREPROCESS_SET_ECHO_STATE, st);
    }
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    for (int b = 0; b < kSamples / kBlock; ++b) {
        speex_echo_cancellation(st, &s.mic[b * kBlock], &s.farEnd[b * kBlock], &r.out[b * kBlock]);
        if (pre)
            speex_preprocess_run(pre, &r.out[b * kBlock]);
    }
    QueryPerformanceCounter(&t1);
    if (pre)
        speex_preprocess_state_destroy(pre);
    speex_echo_state_destroy(st);
    r.rtf = Seconds(t0, t1, freq) / kSeconds;
    return r;
}

void PrintDoubleTalk(const BenchMeasure::DoubleTalkFigures& f)
{
    if (f.valid)
        printf(" %8.1f %8.1f %11.1f\n", f.talkerKeptDb, f.echoRemovedDb, f.talkerOverRestDb);
    else
        printf("  (no double-talk figures)\n");
}

double Erle(const Signals& s, const Result& r, int second, int count = 1)
{
    return EchoScore::ErleDb(s.mic, r.out, static_cast<size_t>(second) * kRate,
                             static_cast<size_t>(count) * kRate);
}
} // namespace

int main()
{
    Signals s = MakeRoom();
    std::vector<Result> results;
    const char* names[] = {"mode 1 NLMS 640", "mode 2 APA 512", "mode 3 NLMS t0.25",
                           "mode 4 NLMS t0.85", "mode 5 NLMS t1.5"};
    for (int mode = 1; mode <= 5; ++mode) {
        results.push_back(RunMode(s, mode));
        results.back().name = names[mode - 1];
    }
    results.push_back(RunApaWithoutGain(s));
    results.push_back(RunSpeex(s, false));
    results.push_back(RunSpeex(s, true));
    const char* bareNames[] = {"mode 1 no attenuation", "mode 3 no attenuation",
                               "mode 4 no attenuation", "mode 5 no attenuation"};
    const int bareModes[] = {1, 3, 4, 5};
    for (int i = 0; i < 4; ++i)
        results.push_back(RunNlmsWithoutGain(s, bareModes[i], bareNames[i]));
    const size_t mode1 = 0, mode2 = 1, mode3 = 2, bareApa = 5, speex = 6, speexSuppressed = 7,
                 bareMode1 = 8, bareMode3 = 9;

    printf("Synthetic room, %d s at %d Hz, blocks of %d samples; echo path changes at %d s,\n"
           "near-end talk from %d s.\n\n",
           kSeconds, kRate, kBlock, kChangeAt / kRate, kNearFrom / kRate);
    printf("%-26s %12s %10s\n", "canceller", "real-time", "x faster");
    for (const Result& r : results)
        printf("%-26s %12.5f %10.0f\n", r.name, r.rtf, r.rtf > 0 ? 1.0 / r.rtf : 0.0);

    printf(
        "\nERLE per second of echo-only audio, dB (higher is better). Modes 1 to 5 include their\n"
        "residual attenuation (0.35, or 0.01 for modes 3-5 while the near end is quiet; mode 2 "
        "its\n"
        "coherence gain): compare them with speexdsp + suppressor (its preprocessor with denoise "
        "on,\n"
        "which runs its residual echo suppression). Mode 2 without its gain and modes 1 and 3 to "
        "5\n"
        "without their attenuation compare with speexdsp alone.\n%4s",
        "s");
    for (const Result& r : results)
        printf(" %9.9s", r.name);
    printf("\n");
    for (int sec = 0; sec < kNearFrom / kRate; ++sec) {
        printf("%4d", sec);
        for (const Result& r : results)
            printf(" %9.1f", Erle(s, r, sec));
        printf("\n");
    }

    const int change = kChangeAt / kRate, nearSecond = kNearFrom / kRate;
    const size_t from = kNearFrom + kRate / 2, count = kSamples - from - 1200;
    printf("\nsummary, dB: ERLE of the first second, steady (seconds %d-%d), of the first second "
           "after the\n"
           "path change and steady after it (seconds %d-%d); double talk (seconds %.1f to %d): "
           "talker kept,\n"
           "echo removed, talker over the rest of the output\n",
           change - 3, change - 1, nearSecond - 3, nearSecond - 1, from / double(kRate), kSeconds);
    printf("%-26s %7s %7s %7s %7s %8s %8s %11s\n", "", "first s", "steady", "change", "steady",
           "kept", "removed", "talker/rest");
    const BenchMeasure::DoubleTalkFigures mic =
        EchoScore::DoubleTalk(s.mic, s.talkerPart, s.echoPart, from, count, 200);
    printf("%-26s %7s %7s %7s %7s", "microphone (no cancelling)", "", "", "", "");
    PrintDoubleTalk(mic);
    struct Summary
    {
        double first, steady, afterChange, steadyAfter;
        BenchMeasure::DoubleTalkFigures talk;
    };
    std::vector<Summary> summary;
    for (const Result& r : results) {
        Summary m;
        m.first = Erle(s, r, 0);
        m.steady = Erle(s, r, change - 3, 3);
        m.afterChange = Erle(s, r, change);
        m.steadyAfter = Erle(s, r, nearSecond - 3, 3);
        m.talk = EchoScore::DoubleTalk(r.out, s.talkerPart, s.echoPart, from, count, 200);
        summary.push_back(m);
        printf("%-26s %7.1f %7.1f %7.1f %7.1f", r.name, m.first, m.steady, m.afterChange,
               m.steadyAfter);
        PrintDoubleTalk(m.talk);
    }

    const Summary& ref = summary[speexSuppressed];
    BenchRowDb("RavoT mode 3, steady ERLE", summary[mode3].steady, ref.steady, ">=", -3.0);
    BenchRowDb("RavoT mode 3, first-second ERLE", summary[mode3].first, ref.first, ">=", -3.0);
    BenchRowDb("RavoT mode 3, double-talk talker/rest", summary[mode3].talk.talkerOverRestDb,
               ref.talk.talkerOverRestDb, ">=", -3.0);
    BenchRowDb("RavoT mode 1, steady ERLE", summary[mode1].steady, ref.steady, ">=", -3.0);
    BenchRowDb("RavoT mode 2, steady ERLE", summary[mode2].steady, ref.steady, ">=", -3.0);
    BenchRowDb("RavoT mode 2 no coherence gain, steady ERLE", summary[bareApa].steady,
               summary[speex].steady, ">=", -3.0);
    BenchRowDb("RavoT mode 1 no attenuation, steady ERLE", summary[bareMode1].steady,
               summary[speex].steady, ">=", -3.0);
    BenchRowDb("RavoT mode 3 no attenuation, steady ERLE", summary[bareMode3].steady,
               summary[speex].steady, ">=", -3.0);
    return 0;
}
