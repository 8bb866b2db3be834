// Prints microseconds per 20 ms block of the processer (G.722.1 at 32 kbit/s)
// for each noise-suppression mode, AGC mode and FEC mode, per 20 ms read of a
// source group mixing 8 sources, and what each denoise mode's suppressor does
// to speech in white and pink noise, beside speexdsp's preprocessor.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "AudioPacket.h"
#include "AudioProcesser.h"
#include "AudioSourceGroup.h"
#include "NoiseBench.h"
#include "NoiseSuppressor.h"
#include "SpeexDenoiser.h"

using namespace RavoEngine;

namespace {
const int kRate = 16000;
const int kBlock = 320;

std::vector<int16_t> Speechlike(int blocks)
{
    std::vector<int16_t> pcm(static_cast<size_t>(blocks) * kBlock);
    uint32_t state = 7;
    const double pi = 3.14159265358979323846;
    for (size_t i = 0; i < pcm.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        const double noise = ((state >> 8) / 16777216.0 - 0.5) * 600.0;
        const double envelope = 0.5 + 0.5 * std::sin(2 * pi * 3.0 * i / kRate);
        const double v = envelope * (5000.0 * std::sin(2 * pi * 180.0 * i / kRate) +
                                     2000.0 * std::sin(2 * pi * 900.0 * i / kRate)) +
                         noise;
        pcm[i] = static_cast<int16_t>(v);
    }
    return pcm;
}

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency.QuadPart;
}

double ProcesserMicroseconds(int denoise, int agc, int fec, const std::vector<int16_t>& pcm,
                             std::vector<std::vector<uint8_t>>* packets)
{
    AudioProcesser p;
    if (!p.Create(4, nullptr))
        return -1.0;
    p.SetDenoise(denoise);
    p.SetAGC(agc);
    p.SetFECMode(fec);
    const int blocks = static_cast<int>(pcm.size() / kBlock);
    std::vector<uint8_t> out(2048);
    const double start = Now();
    for (int b = 0; b < blocks; ++b) {
        AUDIO_STREAM_HEAD io{};
        io.input = pcm.data() + b * kBlock;
        io.inputLength = kBlock * 2;
        io.output = out.data();
        io.outputCapacity = static_cast<uint32_t>(out.size());
        uint32_t extra = 0;
        p.Process(&io, &extra);
        if (packets)
            packets->emplace_back(out.begin(), out.begin() + io.outputLength);
    }
    return (Now() - start) * 1e6 / blocks;
}

// The denoise modes' suppressors as the processer makes them, block by block.
std::vector<int16_t> RunOwnSuppressor(const std::vector<int16_t>& input, int level)
{
    NoiseSuppressor suppressor(level);
    std::vector<int16_t> out(input);
    for (size_t at = 0; at + kBlock <= out.size(); at += kBlock)
        suppressor.Noise_Sup(&out[at], kBlock);
    return out;
}

std::vector<int16_t> RunSpeexMode(const std::vector<int16_t>& input)
{
    SpeexDenoiser denoiser(kBlock, kRate);
    std::vector<int16_t> out(input);
    for (size_t at = 0; at + kBlock <= out.size(); at += kBlock)
        denoiser.Process(&out[at], kBlock);
    return out;
}
} // namespace

int main()
{
    const int blocks = 500; // 10 s of audio
    const std::vector<int16_t> pcm = Speechlike(blocks);
    printf("Ravo processer, G7221 32 kbit/s, microseconds per 20 ms block (%d blocks)\n", blocks);
    printf("%-28s %10s\n", "setting", "us/block");
    const char* denoiseNames[] = {"off", "own -10 dB", "own -25 dB", "speexdsp"};
    for (int d = 0; d <= 3; ++d) {
        char label[64];
        snprintf(label, sizeof label, "denoise %d (%s)", d, denoiseNames[d]);
        printf("%-28s %10.1f\n", label, ProcesserMicroseconds(d, 0, 0, pcm, nullptr));
    }
    for (int a = 1; a <= 3; ++a) {
        char label[64];
        snprintf(label, sizeof label, "AGC %d", a);
        printf("%-28s %10.1f\n", label, ProcesserMicroseconds(0, a, 0, pcm, nullptr));
    }
    const char* fecNames[] = {"Not FEC", "6+6", "6+12", "8+16", "16+32"};
    for (int f = 0; f <= 4; ++f) {
        char label[64];
        snprintf(label, sizeof label, "FEC %d (%s)", f, fecNames[f]);
        printf("%-28s %10.1f\n", label, ProcesserMicroseconds(0, 0, f, pcm, nullptr));
    }
    printf("%-28s %10.1f\n", "denoise 2 + AGC 2 + FEC 2",
           ProcesserMicroseconds(2, 2, 2, pcm, nullptr));

    // Group read: 8 sources with their packets queued ahead, 20 ms a read.
    for (int f : {0, 1}) {
        std::vector<std::vector<uint8_t>> packets;
        ProcesserMicroseconds(0, 0, f, pcm, &packets);
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = 1;
        format.nSamplesPerSec = kRate;
        format.wBitsPerSample = 16;
        format.nBlockAlign = 2;
        format.nAvgBytesPerSec = kRate * 2;
        AudioSourceGroup group(format, "NoSuchPlugin.dll");
        for (uint32_t id = 1; id <= 8; ++id)
            group.AddSource(id);
        std::vector<int16_t> mix(kBlock);
        double total = 0.0;
        int reads = 0;
        // Feed 40 packets per source, then read them out; repeat.
        for (size_t base = 0; base + 40 <= packets.size(); base += 40) {
            for (uint32_t id = 1; id <= 8; ++id)
                for (size_t i = base; i < base + 40; ++i)
                    group.WriteSource(id, packets[i].data(), static_cast<int>(packets[i].size()));
            const double start = Now();
            for (int r = 0; r < 40; ++r)
                group.ReadData(reinterpret_cast<uint8_t*>(mix.data()), kBlock * 2);
            total += Now() - start;
            reads += 40;
        }
        printf("group read, 8 sources, FEC %d: %.1f us per 20 ms read (%d reads)\n", f,
               total * 1e6 / reads, reads);
    }

    // What one semaphore take and release costs here: each frame a source
    // queues and plays passes its frame queue's two semaphores twice.
    HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 1, nullptr);
    const int rounds = 20000;
    const double start = Now();
    for (int i = 0; i < rounds; ++i) {
        WaitForSingleObject(semaphore, 0);
        ReleaseSemaphore(semaphore, 1, nullptr);
    }
    printf("semaphore take + release: %.2f us\n", (Now() - start) * 1e6 / rounds);
    CloseHandle(semaphore);

    BenchMeasure::NoiseBench::Run(
        "Ravo", kRate,
        {{"denoise 1 (own, floor -10 dB)",
          [](const std::vector<int16_t>& in) { return RunOwnSuppressor(in, 0); }},
         {"denoise 2 (own, floor -25 dB)",
          [](const std::vector<int16_t>& in) { return RunOwnSuppressor(in, 3); }},
         {"denoise 3 (speexdsp, as Ravo runs it)", RunSpeexMode}});
    return 0;
}
