#include "RavoTestUtil.h"

#include <cmath>

#include "AudioPacket.h"

using namespace RavoEngine;

WAVEFORMATEX Pcm16(uint32_t rate, uint16_t channels)
{
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = channels;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = 16;
    f.nBlockAlign = static_cast<WORD>(channels * 2);
    f.nAvgBytesPerSec = rate * f.nBlockAlign;
    return f;
}

WAVEFORMATEX Pcm8(uint32_t rate)
{
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 1;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = 8;
    f.nBlockAlign = 1;
    f.nAvgBytesPerSec = rate;
    return f;
}

std::vector<uint8_t> MakePacket(uint8_t first, uint32_t sequence,
                                const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> p(AudioPacket::HEADER_SIZE + payload.size());
    AudioPacket::WriteHeader(p.data(), p.size(), first, sequence);
    std::copy(payload.begin(), payload.end(), p.begin() + AudioPacket::HEADER_SIZE);
    return p;
}

std::vector<int16_t> Tone(int count, double frequency, double amplitude, int rate, double noise,
                          uint32_t seed)
{
    std::vector<int16_t> out(static_cast<size_t>(count));
    const double pi = 3.14159265358979323846;
    uint32_t state = seed;
    for (int i = 0; i < count; ++i) {
        double v = amplitude * std::sin(2.0 * pi * frequency * i / rate);
        if (noise > 0.0) {
            // Sum of four uniforms: roughly Gaussian, unit variance scaled.
            double u = 0.0;
            for (int j = 0; j < 4; ++j) {
                state = state * 1664525u + 1013904223u;
                u += (state >> 8) / 16777216.0 - 0.5;
            }
            v += noise * u * std::sqrt(3.0);
        }
        if (v > 32767.0)
            v = 32767.0;
        if (v < -32768.0)
            v = -32768.0;
        out[static_cast<size_t>(i)] = static_cast<int16_t>(std::lrint(v));
    }
    return out;
}

double Rms(const int16_t* samples, int count)
{
    if (count <= 0)
        return 0.0;
    double sum = 0.0;
    for (int i = 0; i < count; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / count);
}
