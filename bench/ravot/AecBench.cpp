// Echo canceller benchmark. A synthetic room at 8000 Hz: coloured far-end
// noise with a syllable rhythm, an echo path of a 5 ms delay and a decaying
// tail, a path change half-way, and near-end talk in the last quarter.
// Every mode of the canceller and speexdsp's canceller see the same signals
// in the same 30 ms blocks; the program prints the real-time factor of each
// and the echo return loss enhancement (ERLE) per second of echo-only audio.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include <speex/speex_echo.h>

#include "CAecFilter.h"

using namespace RavoTDevice;

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
double Uniform()
{
    return (Next() % 20001) / 10000.0 - 1.0;
}

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
};

Signals MakeRoom()
{
    Signals s;
    s.farEnd.resize(kSamples);
    s.mic.resize(kSamples);
    s.echo.resize(kSamples);
    s.nearTalk.assign(kSamples, 0);
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
            v = 3000 * (0.7 * std::sin(2 * 3.14159265 * 440 * t) + 0.3 * std::sin(2 * 3.14159265 * 1320 * t)) *
                (0.5 + 0.5 * std::sin(2 * 3.14159265 * 2.5 * t));
        }
        s.echo[i] = static_cast<int16_t>(e);
        s.nearTalk[i] = static_cast<int16_t>(v);
        double m = e + v + (static_cast<int>(Next() % 21) - 10);
        s.mic[i] = static_cast<int16_t>(m > 32767 ? 32767 : (m < -32768 ? -32768 : m));
    }
    return s;
}

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER f)
{
    return static_cast<double>(b.QuadPart - a.QuadPart) / f.QuadPart;
}

// ERLE of one second: mic energy over residual energy, in dB.
double Erle(const Signals& s, const std::vector<int16_t>& out, int second)
{
    double in = 0, res = 1;
    for (int i = second * kRate; i < (second + 1) * kRate; ++i) {
        in += static_cast<double>(s.mic[i]) * s.mic[i];
        res += static_cast<double>(out[i]) * out[i];
    }
    return 10 * std::log10(in / res + 1e-12);
}

// Near-talk kept during double talk: energy of (out) against the near talker's.
double NearKept(const Signals& s, const std::vector<int16_t>& out)
{
    double nearE = 1, outE = 1;
    for (int i = kNearFrom; i < kSamples; ++i) {
        nearE += static_cast<double>(s.nearTalk[i]) * s.nearTalk[i];
        outE += static_cast<double>(out[i]) * out[i];
    }
    return 10 * std::log10(outE / nearE);
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
    const int lead = 2;  // the far end runs 60 ms ahead, as on the devices
    for (int b = 0; b < blocks + lead; ++b) {
        if (b < blocks)
            filter.ProcessSpeekData(reinterpret_cast<const uint8_t*>(&s.farEnd[b * kBlock]), kBlock * 2);
        if (b >= lead)
            filter.ProcessMicData(reinterpret_cast<uint8_t*>(&r.out[(b - lead) * kBlock]), kBlock * 2);
    }
    QueryPerformanceCounter(&t1);
    r.rtf = Seconds(t0, t1, freq) / kSeconds;
    return r;
}

Result RunSpeex(const Signals& s)
{
    Result r{"speexdsp", 0, std::vector<int16_t>(kSamples, 0)};
    SpeexEchoState* st = speex_echo_state_init(kBlock, 1024);
    int rate = kRate;
    speex_echo_ctl(st, SPEEX_ECHO_SET_SAMPLING_RATE, &rate);
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    for (int b = 0; b < kSamples / kBlock; ++b)
        speex_echo_cancellation(st, &s.mic[b * kBlock], &s.farEnd[b * kBlock], &r.out[b * kBlock]);
    QueryPerformanceCounter(&t1);
    speex_echo_state_destroy(st);
    r.rtf = Seconds(t0, t1, freq) / kSeconds;
    return r;
}
}  // namespace

int main()
{
    Signals s = MakeRoom();
    std::vector<Result> results;
    const char* names[] = {"mode 1 NLMS 640", "mode 2 APA 512", "mode 3 NLMS t0.25", "mode 4 NLMS t0.85",
                           "mode 5 NLMS t1.5"};
    for (int mode = 1; mode <= 5; ++mode) {
        results.push_back(RunMode(s, mode));
        results.back().name = names[mode - 1];
    }
    results.push_back(RunSpeex(s));

    printf("Synthetic room, %d s at %d Hz, blocks of %d samples; echo path changes at %d s,\n"
           "near-end talk from %d s.\n\n",
           kSeconds, kRate, kBlock, kChangeAt / kRate, kNearFrom / kRate);
    printf("%-20s %12s %10s\n", "canceller", "real-time", "x faster");
    for (const Result& r : results)
        printf("%-20s %12.5f %10.0f\n", r.name, r.rtf, r.rtf > 0 ? 1.0 / r.rtf : 0.0);

    printf("\nERLE per second of echo-only audio, dB (higher is better; the canceller's modes\n"
           "include their residual attenuation of 0.35, or 0.01 for modes 3-5 while the near end is quiet)\n%4s",
           "s");
    for (const Result& r : results)
        printf(" %9.9s", r.name);
    printf("\n");
    for (int sec = 0; sec < kNearFrom / kRate; ++sec) {
        printf("%4d", sec);
        for (const Result& r : results)
            printf(" %9.1f", Erle(s, r.out, sec));
        printf("\n");
    }
    printf("\nDuring double talk: output energy against the near talker's, dB (near 0 keeps the talker)\n");
    for (const Result& r : results)
        printf("%-20s %8.1f\n", r.name, NearKept(s, r.out));
    return 0;
}
