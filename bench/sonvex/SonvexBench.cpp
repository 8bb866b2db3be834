// Echo cancelling of the audio device library on synthetic rooms, printed
// beside speexdsp's echo canceller (and speexdsp's canceller followed by its
// residual echo suppressor) on the same signals in the same run:
//
//   sonvex_bench [seconds]
//
// For each room: a speech-like far end plays for the whole run through the
// room's impulse response into the microphone, with noise; a near-end talker
// joins for the last quarter (double talk). Printed per second: the echo
// return loss enhancement (microphone energy over output energy, dB) while
// the far end talks alone, then in double talk how far the output stays from
// the talker (talker energy over the energy of output minus talker, dB, at
// the best alignment). Last, real-time factors (processing time over audio
// time) of the front end with its core, the core alone (with and without its
// four-lane path), speexdsp, and the 48000 Hz <-> 16000 Hz converters.
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <chrono>
#include <vector>

#include <speex/speex_echo.h>
#include <speex/speex_preprocess.h>

#include "AecCore.h"
#include "AecLattice.h"
#include "AecProcessor.h"
#include "DcHighPass.h"
#include "FakeMixerApi.h"
#include "RateConverter.h"
#include "SyntheticRoom.h"

using namespace SonvexDevice;

using namespace SyntheticRoom;

namespace
{
const int kRate = 16000;
const int kBlock = 320;

struct Room {
    const char* name;
    double delayMs, rt60Ms, lengthMs, gain;
};

struct Signals {
    std::vector<int16_t> farEnd, mic, talk;
    int talkFrom;  // sample
};

Signals MakeSignals(const Room& room, int seconds)
{
    const int n = kRate * seconds;
    Signals s;
    std::vector<double> farEnd = SpeechLike(n, 1);
    std::vector<double> echo =
        Convolve(farEnd, ImpulseResponse(kRate, room.delayMs, room.rt60Ms, room.lengthMs, room.gain, 7));
    s.talkFrom = (seconds - seconds / 4) * kRate;
    std::vector<double> talk(n, 0.0), voice = SpeechLike(n, 2, 6000.0);
    for (int i = s.talkFrom; i < n; ++i)
        talk[i] = voice[i];
    s.farEnd = ToPcm(farEnd);
    s.mic = ToPcm(Sum(Sum(echo, talk), Noise(n, 10.0, 3)));
    s.talk = ToPcm(talk);
    return s;
}

struct Result {
    std::vector<int16_t> out;
    double seconds = 0.0;  // processing time
};

double Elapsed(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Collector {
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

Result RunCore(const Signals& s)
{
    AecCore core;
    core.init(kRate, 2.0f, 128.0f);
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
        pre = speex_preprocess_state_init(kBlock, kRate);
        int off = 0;
        speex_preprocess_ctl(pre, SPEEX_PREPROCESS_SET_DENOISE, &off);
        speex_preprocess_ctl(pre, SPEEX_PREPROCESS_SET_AGC, &off);
        speex_preprocess_ctl(pre, SPEEX_PREPROCESS_SET_VAD, &off);
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

// Talker energy over the energy of (output - talker) at the best lag.
double TalkerKept(const std::vector<int16_t>& out, const std::vector<int16_t>& talk, size_t from,
                  size_t count)
{
    double best = -1e300;
    int bestLag = 0;
    for (int lag = 0; lag <= 1000; ++lag) {
        double sum = 0.0;
        for (size_t i = from; i < from + count; i += 2)
            sum += double(out[i]) * talk[i - lag];
        if (sum > best) {
            best = sum;
            bestLag = lag;
        }
    }
    std::vector<double> diff(count);
    for (size_t i = 0; i < count; ++i)
        diff[i] = double(out[from + i]) - talk[from + i - bestLag];
    return EnergyDb(talk, from - bestLag, count) - EnergyDb(diff, 0, count);
}

void Report(const Room& room, int seconds)
{
    Signals s = MakeSignals(room, seconds);
    // The front end and the core high-pass the near end; so is the talker
    // they are compared with. speexdsp passes it as it is.
    std::vector<int16_t> talkFiltered = s.talk;
    DcHighPass a, b;
    a.Run(talkFiltered.data(), static_cast<int>(talkFiltered.size()));
    b.Run(talkFiltered.data(), static_cast<int>(talkFiltered.size()));

    Result front = RunFrontEnd(s);
    Result core = RunCore(s);
    Result speex = RunSpeex(s, false);
    Result speexRes = RunSpeex(s, true);

    printf("\nRoom: %s (direct path %.0f ms, reverberation time %.0f ms, %.0f ms long)\n", room.name,
           room.delayMs, room.rt60Ms, room.lengthMs);
    printf("echo return loss enhancement, dB, far end alone:\n");
    printf("  second   front end    core   speexdsp   speexdsp+suppressor\n");
    const int talkSecond = s.talkFrom / kRate;
    for (int sec = 0; sec < talkSecond; ++sec) {
        const size_t from = sec * kRate;
        const double mic = EnergyDb(s.mic, from, kRate);
        printf("  %6d   %9.1f  %6.1f   %8.1f   %19.1f\n", sec, mic - EnergyDb(front.out, from + kBlock, kRate),
               mic - EnergyDb(core.out, from, kRate), mic - EnergyDb(speex.out, from, kRate),
               mic - EnergyDb(speexRes.out, from, kRate));
    }
    const size_t from = s.talkFrom + kRate / 2, count = static_cast<size_t>(seconds * kRate) - from - 1200;
    printf("double talk, seconds %d to %d: talker over what differs from it, dB (higher keeps more)\n",
           talkSecond, seconds);
    printf("           %9.1f  %6.1f   %8.1f   %19.1f\n", TalkerKept(front.out, talkFiltered, from, count),
           TalkerKept(core.out, talkFiltered, from, count), TalkerKept(speex.out, s.talk, from, count),
           TalkerKept(speexRes.out, s.talk, from, count));
    printf("real-time factor  %9.4f  %6.4f   %8.4f   %19.4f\n", front.seconds / seconds, core.seconds / seconds,
           speex.seconds / seconds, speexRes.seconds / seconds);
    if (AecLattice::VectorPath()) {
        AecLattice::UseVectorPath(false);
        Result plain = RunCore(s);
        AecLattice::UseVectorPath(true);
        printf("core without the four-lane path: real-time factor %.4f\n", plain.seconds / seconds);
    }
}

void ConverterSpeed(int seconds)
{
    std::vector<int16_t> device = Sine(48000 * seconds, 48000, 1000.0, 8000.0), block(320), back(960);
    RateConverter down(16000.0 / 48000.0), up(48000.0 / 16000.0);
    auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < seconds * 50; ++k) {
        down.Convert(&device[k * 960], 960, block.data(), 320);
        up.Convert(block.data(), 320, back.data(), 960);
    }
    printf("\nrate converters 48000 -> 16000 -> 48000 per 20 ms block: real-time factor %.4f\n",
           Elapsed(start) / seconds);
}
}

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? atoi(argv[1]) : 20;
    if (seconds < 8)
        seconds = 8;
    const Room rooms[] = {
        {"small office", 5.0, 150.0, 300.0, 0.5},
        {"reverberant room, tail past the modelled 128 ms", 10.0, 300.0, 400.0, 0.5},
    };
    printf("Echo cancelling on synthetic rooms, %d s of 16000 Hz speech-like far end, near talker in the "
           "last quarter; speexdsp with a 2048-tap (128 ms) filter and 20 ms frames.\n",
           seconds);
    for (const Room& room : rooms)
        Report(room, seconds);
    ConverterSpeed(seconds);
    return 0;
}
