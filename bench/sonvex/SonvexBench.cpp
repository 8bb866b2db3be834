// Echo cancelling of the audio device library on synthetic rooms, printed
// beside speexdsp's echo canceller on the same signals in the same run, like
// with like:
//
//   sonvex_bench [seconds]
//
// The core runs with its residual-echo gain (as the front end keeps it) and
// without; speexdsp runs alone, and followed by its preprocessor with denoise
// on, which is what switches on its residual echo suppression. The core
// without its gain compares with speexdsp alone, the front end and the core
// with it compare with speexdsp and its suppressor.
//
// For each room: a speech-like far end plays for the whole run through the
// room's impulse response into the microphone, with noise; a near-end talker
// joins for the last quarter (double talk). Printed per second: the echo
// return loss enhancement (microphone energy over output energy, dB) while
// the far end talks alone; then the first second's and the steady figure
// (the last three seconds before the talker), and in double talk how much of
// the talker each output keeps, how much of the echo it removes and the
// talker over everything else left. Last, real-time factors (processing time
// over audio time) of the front end with its core, the core alone (with and
// without its four-lane path), speexdsp, and the 48000 Hz <-> 16000 Hz
// converters.
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <chrono>
#include <vector>

#include <speex/speex_echo.h>
#include <speex/speex_preprocess.h>

#include "../BenchRow.h"
#include "AecCore.h"
#include "AecLattice.h"
#include "AecProcessor.h"
#include "DcHighPass.h"
#include "EchoScore.h"
#include "FakeMixerApi.h"
#include "RateConverter.h"
#include "SyntheticRoom.h"

using namespace SonvexDevice;

using namespace SyntheticRoom;

namespace {
const int kRate = 16000;
const int kBlock = 320;

struct Room
{
    const char* name;
    const char* shortName;
    double delayMs, rt60Ms, lengthMs, gain;
};

struct Signals
{
    std::vector<int16_t> farEnd, mic, talk;
    std::vector<double> echo, talker; // the parts of the microphone signal
    int talkFrom;                     // sample
};

Signals MakeSignals(const Room& room, int seconds)
{
    const int n = kRate * seconds;
    Signals s;
    std::vector<double> farEnd = SpeechLike(n, 1);
    std::vector<double> echo = Convolve(
        farEnd, ImpulseResponse(kRate, room.delayMs, room.rt60Ms, room.lengthMs, room.gain, 7));
    s.talkFrom = (seconds - seconds / 4) * kRate;
    std::vector<double> talk(n, 0.0), voice = SpeechLike(n, 2, 6000.0);
    for (int i = s.talkFrom; i < n; ++i)
        talk[i] = voice[i];
    s.farEnd = ToPcm(farEnd);
    s.mic = ToPcm(Sum(Sum(echo, talk), Noise(n, 10.0, 3)));
    s.talk = ToPcm(talk);
    s.echo = echo;
    s.talker = talk;
    return s;
}

struct Result
{
    std::vector<int16_t> out;
    double seconds = 0.0; // processing time
};

double Elapsed(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Collector
{
    std::vector<int16_t> out;
    static void __cdecl Callback(void* context, CAudioBlock*, short* pcm, int length)
    {
        Collector* self = static_cast<Collector*>(context);
        self->out.insert(self->out.end(), pcm, pcm + length / 2);
    }
};

// The front end as the managers drive it: each played block, then each
// captured block.
Result RunFrontEnd(const Signals& s)
{
    FakeMixerApi mixer;
    AecProcessor proc(mixer);
    proc.init(kRate, 20);
    proc.SetAEC(1);
    proc.SetVolumeControl(0);
    Collector collector;
    collector.out.reserve(s.mic.size());
    proc.SetCallback(&Collector::Callback, &collector);
    CAudioBlock* speaker = new CAudioBlock(640);
    CAudioBlock* microphone = new CAudioBlock(640);
    const int blocks = static_cast<int>(s.mic.size()) / kBlock;
    auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < blocks; ++k) {
        memcpy(speaker->m_data, &s.farEnd[k * kBlock], 640);
        speaker->Stamp(CAudioBlock::KIND_FAR, k, 20 * k);
        proc.FarInput(&speaker);
        memcpy(microphone->m_data, &s.mic[k * kBlock], 640);
        microphone->Stamp(CAudioBlock::KIND_NEAR, k, 20 * k);
        proc.NearInput(&microphone);
    }
    Result r;
    r.seconds = Elapsed(start);
    delete speaker;
    delete microphone;
    r.out = collector.out;
    r.out.resize(s.mic.size(), 0);
    return r;
}

Result RunCore(const Signals& s, bool residualGain)
{
    AecCore core;
    core.init(kRate, 2.0f, 128.0f);
    core.SetResidualGain(residualGain);
    Result r;
    r.out.resize(s.mic.size());
    auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i + 32 <= s.mic.size(); i += 32)
        core.process(&s.farEnd[i], &s.mic[i], &r.out[i], 32);
    r.seconds = Elapsed(start);
    return r;
}

Result RunSpeex(const Signals& s, bool suppressor)
{
    SpeexEchoState* echo = speex_echo_state_init(kBlock, 2048);
    int rate = kRate;
    speex_echo_ctl(echo, SPEEX_ECHO_SET_SAMPLING_RATE, &rate);
    SpeexPreprocessState* pre = nullptr;
    if (suppressor) {
        // Its residual echo suppression runs only with denoise on.
        pre = speex_preprocess_state_init(kBlock, kRate);
        int on = 1, off = 0;
        speex_preprocess_ctl(pre, SPEEX_PREPROCESS_SET_DENOISE, &on);
        speex_preprocess_ctl(pre, SPEEX_PREPROCESS_SET_AGC, &off);
        speex_preprocess_ctl(pre, SPEEX_PREPROCESS_SET_ECHO_STATE, echo);
    }
    Result r;
    r.out.resize(s.mic.size());
    auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i + kBlock <= s.mic.size(); i += kBlock) {
        speex_echo_cancellation(echo, &s.mic[i], &s.farEnd[i], &r.out[i]);
        if (pre)
            speex_preprocess_run(pre, &r.out[i]);
    }
    r.seconds = Elapsed(start);
    if (pre)
        speex_preprocess_state_destroy(pre);
    speex_echo_state_destroy(echo);
    return r;
}

void PrintDoubleTalk(const BenchMeasure::DoubleTalkFigures& f)
{
    if (f.valid)
        printf(" %8.1f %8.1f %8.1f\n", f.talkerKeptDb, f.echoRemovedDb, f.talkerOverRestDb);
    else
        printf("  (no double-talk figures)\n");
}

struct Column
{
    const char* name;
    const Result* result;
    size_t lag;                        // blocks the output comes late
    const std::vector<double>* talker; // as the output should keep it
};

void Report(const Room& room, int seconds)
{
    Signals s = MakeSignals(room, seconds);
    // The front end and the core high-pass the near end; so is the talker
    // they are compared with. speexdsp passes it as it is.
    std::vector<int16_t> talkFiltered = s.talk;
    DcHighPass a, b;
    a.Run(talkFiltered.data(), static_cast<int>(talkFiltered.size()));
    b.Run(talkFiltered.data(), static_cast<int>(talkFiltered.size()));
    const std::vector<double> talkerFiltered(talkFiltered.begin(), talkFiltered.end());

    Result front = RunFrontEnd(s);
    Result core = RunCore(s, true);
    Result bare = RunCore(s, false);
    Result speex = RunSpeex(s, false);
    Result speexRes = RunSpeex(s, true);
    const Column columns[] = {
        {"front end", &front, kBlock, &talkerFiltered},        {"core", &core, 0, &talkerFiltered},
        {"core, no residual gain", &bare, 0, &talkerFiltered}, {"speexdsp", &speex, 0, &s.talker},
        {"speexdsp + suppressor", &speexRes, 0, &s.talker},
    };

    printf("\nRoom: %s (direct path %.0f ms, reverberation time %.0f ms, %.0f ms long)\n",
           room.name, room.delayMs, room.rt60Ms, room.lengthMs);
    printf("echo return loss enhancement, dB, far end alone:\n  second");
    for (const Column& c : columns)
        printf(" %23s", c.name);
    printf("\n");
    const int talkSecond = s.talkFrom / kRate;
    for (int sec = 0; sec < talkSecond; ++sec) {
        printf("  %6d", sec);
        for (const Column& c : columns)
            printf(" %23.1f", BenchMeasure::EchoScore::ErleDb(s.mic, c.result->out, sec * kRate,
                                                              kRate, c.lag));
        printf("\n");
    }

    const size_t steadyFrom = static_cast<size_t>(talkSecond - 3) * kRate;
    const size_t from = s.talkFrom + kRate / 2,
                 count = static_cast<size_t>(seconds * kRate) - from - 1200;
    printf(
        "summary, dB: ERLE of the first second and steady (seconds %d to %d); double talk (seconds "
        "%.1f to %d): talker kept, echo removed, talker over the rest of the output\n",
        talkSecond - 3, talkSecond - 1, from / double(kRate), seconds);
    printf("  %-24s %8s %8s %8s %8s %8s\n", "", "first s", "steady", "kept", "removed",
           "talker/rest");
    const BenchMeasure::DoubleTalkFigures mic =
        BenchMeasure::EchoScore::DoubleTalk(s.mic, s.talker, s.echo, from, count, 1000);
    printf("  %-24s %8s %8s", "microphone (no cancelling)", "", "");
    PrintDoubleTalk(mic);
    struct Summary
    {
        double first, steady;
        BenchMeasure::DoubleTalkFigures talk;
    } summary[5];
    for (int i = 0; i < 5; ++i) {
        const Column& c = columns[i];
        Summary& m = summary[i];
        m.first = BenchMeasure::EchoScore::ErleDb(s.mic, c.result->out, 0, kRate, c.lag);
        m.steady =
            BenchMeasure::EchoScore::ErleDb(s.mic, c.result->out, steadyFrom, 3 * kRate, c.lag);
        m.talk = BenchMeasure::EchoScore::DoubleTalk(c.result->out, *c.talker, s.echo, from, count,
                                                     1000);
        printf("  %-24s %8.1f %8.1f", c.name, m.first, m.steady);
        PrintDoubleTalk(m.talk);
    }
    printf("real-time factor");
    for (const Column& c : columns)
        printf(" %10.4f", c.result->seconds / seconds);
    printf("\n");
    if (AecLattice::VectorPath()) {
        AecLattice::UseVectorPath(false);
        Result plain = RunCore(s, true);
        AecLattice::UseVectorPath(true);
        printf("core without the four-lane path: real-time factor %.4f\n", plain.seconds / seconds);
    }

    // Like with like: with residual suppression against speexdsp with its
    // suppressor, without against speexdsp alone.
    char row[160];
    snprintf(row, sizeof row, "Sonvex front end, steady ERLE, %s", room.shortName);
    BenchRowDb(row, summary[0].steady, summary[4].steady, ">=", -3.0);
    snprintf(row, sizeof row, "Sonvex front end, first-second ERLE, %s", room.shortName);
    BenchRowDb(row, summary[0].first, summary[4].first, ">=", -3.0);
    snprintf(row, sizeof row, "Sonvex front end, double-talk talker/rest, %s", room.shortName);
    BenchRowDb(row, summary[0].talk.talkerOverRestDb, summary[4].talk.talkerOverRestDb, ">=", -3.0);
    snprintf(row, sizeof row, "Sonvex core no residual gain, steady ERLE, %s", room.shortName);
    BenchRowDb(row, summary[2].steady, summary[3].steady, ">=", -3.0);
}

void ConverterSpeed(int seconds)
{
    std::vector<int16_t> device = Sine(48000 * seconds, 48000, 1000.0, 8000.0), block(320),
                         back(960);
    RateConverter down(16000.0 / 48000.0), up(48000.0 / 16000.0);
    auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < seconds * 50; ++k) {
        down.Convert(&device[k * 960], 960, block.data(), 320);
        up.Convert(block.data(), 320, back.data(), 960);
    }
    printf("\nrate converters 48000 -> 16000 -> 48000 per 20 ms block: real-time factor %.4f\n",
           Elapsed(start) / seconds);
}
} // namespace

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? atoi(argv[1]) : 20;
    if (seconds < 8)
        seconds = 8;
    const Room rooms[] = {
        {"small office", "office", 5.0, 150.0, 300.0, 0.5},
        {"reverberant room, tail past the modelled 128 ms", "reverberant", 10.0, 300.0, 400.0, 0.5},
    };
    printf("Echo cancelling on synthetic rooms, %d s of 16000 Hz speech-like far end, near talker "
           "in the "
           "last quarter; speexdsp with a 2048-tap (128 ms) filter and 20 ms frames, alone and "
           "with its\n"
           "preprocessor (denoise on, so its residual echo suppression runs; AGC and VAD off). "
           "Rows for "
           "tools/bench.sh: the front end (residual gain on) against speexdsp with its suppressor, "
           "the "
           "core without the gain against speexdsp alone.\n",
           seconds);
    for (const Room& room : rooms)
        Report(room, seconds);
    ConverterSpeed(seconds);
    return 0;
}
