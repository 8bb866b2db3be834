// Encoder and decoder real-time factors and segmental SNR of the wideband
// speech codec at 24000 and 32000 bit/s.
//
//   g7221_bench [speech.wav]
//
// Without an argument it codes ten seconds of synthetic voiced speech; with a
// 16-bit PCM WAV file (for instance one spoken by espeak-ng) it codes that,
// converted to 16000 samples per second mono.
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <chrono>
#include <vector>

#include "../BenchRow.h"
#include "G7221Decoder.h"
#include "G7221DecoderEngine.h"
#include "G7221Encoder.h"
#include "G7221EncoderEngine.h"

namespace {
const double kPi = 3.14159265358979323846;

std::vector<int16_t> SyntheticSpeech(int samples)
{
    std::vector<int16_t> out(samples);
    uint32_t seed = 1;
    double phase = 0.0, a1 = 0, a2 = 0, b1 = 0, b2 = 0, c1 = 0, c2 = 0;
    const double r = 0.96;
    for (int i = 0; i < samples; ++i) {
        double t = i / 16000.0;
        // Formants glide between vowels every quarter second.
        double f1 = 500 + 250 * sin(2 * kPi * 1.7 * t);
        double f2 = 1500 + 600 * sin(2 * kPi * 1.1 * t);
        double f3 = 2600 + 300 * sin(2 * kPi * 0.7 * t);
        phase += (110.0 + 30.0 * sin(2 * kPi * 1.3 * t)) / 16000.0;
        double excitation = 0.0;
        if (phase >= 1.0) {
            phase -= 1.0;
            excitation = 1.0;
        }
        seed = seed * 1103515245u + 12345u;
        double noise = (double)((seed >> 16) & 0x7FFF) / 32768.0 - 0.5;
        // Every third syllable is unvoiced (noise only).
        bool voiced = ((int)(t * 4.0)) % 3 != 2;
        double e = voiced ? excitation + noise / 20.0 : noise / 2.0;
        double y1 = e + 2 * r * cos(2 * kPi * f1 / 16000) * a1 - r * r * a2;
        a2 = a1;
        a1 = y1;
        double y2 = e + 2 * r * cos(2 * kPi * f2 / 16000) * b1 - r * r * b2;
        b2 = b1;
        b1 = y2;
        double y3 = e + 2 * r * cos(2 * kPi * f3 / 16000) * c1 - r * r * c2;
        c2 = c1;
        c1 = y3;
        double envelope = 0.55 + 0.45 * sin(2 * kPi * 4 * t);
        double v = envelope * (700.0 * y1 + 450.0 * y2 + 250.0 * y3);
        out[i] = (int16_t)(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
    }
    return out;
}

uint32_t Le32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | ((uint32_t)p[3] << 24);
}
uint16_t Le16(const uint8_t* p) { return (uint16_t)(p[0] | (p[1] << 8)); }

// Reads a 16-bit PCM WAV file and converts it to 16000 samples per second
// mono by linear interpolation. Empty on any problem.
std::vector<int16_t> ReadWav(const char* path)
{
    std::vector<int16_t> result;
    FILE* f = fopen(path, "rb");
    if (!f)
        return result;
    std::vector<uint8_t> data;
    uint8_t buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0)
        data.insert(data.end(), buffer, buffer + n);
    fclose(f);
    if (data.size() < 12 || memcmp(&data[0], "RIFF", 4) != 0 || memcmp(&data[8], "WAVE", 4) != 0)
        return result;
    int channels = 0, rate = 0, bits = 0;
    size_t pos = 12;
    while (pos + 8 <= data.size()) {
        uint32_t size = Le32(&data[pos + 4]);
        const uint8_t* body = &data[pos + 8];
        size_t avail = data.size() - pos - 8;
        if (memcmp(&data[pos], "fmt ", 4) == 0 && size >= 16 && avail >= 16) {
            channels = Le16(body + 2);
            rate = (int)Le32(body + 4);
            bits = Le16(body + 14);
        } else if (memcmp(&data[pos], "data", 4) == 0 && channels > 0 && bits == 16 && rate > 0) {
            size_t frames = (size < avail ? size : avail) / (2 * channels);
            std::vector<double> mono(frames);
            for (size_t i = 0; i < frames; ++i) {
                double sum = 0.0;
                for (int c = 0; c < channels; ++c)
                    sum += (int16_t)Le16(body + 2 * (i * channels + c));
                mono[i] = sum / channels;
            }
            size_t out = frames ? (size_t)((double)(frames - 1) * 16000.0 / rate) : 0;
            for (size_t i = 0; i < out; ++i) {
                double x = (double)i * rate / 16000.0;
                size_t k = (size_t)x;
                double frac = x - k;
                double v = mono[k] + (k + 1 < frames ? (mono[k + 1] - mono[k]) * frac : 0.0);
                result.push_back((int16_t)v);
            }
            return result;
        }
        pos += 8 + size + (size & 1);
    }
    return result;
}

double SegmentalSnr(const std::vector<int16_t>& in, const std::vector<int16_t>& out)
{
    double total = 0.0;
    int frames = 0;
    for (size_t f = 640; f + 320 <= in.size(); f += 320) {
        double signal = 0.0, noise = 0.0;
        for (int i = 0; i < 320; ++i) {
            double a = in[f + i - 320], b = out[f + i];
            signal += a * a;
            noise += (a - b) * (a - b);
        }
        if (signal < 320.0 * 100.0 * 100.0)
            continue; // skip near-silent frames (pauses)
        double snr = 10.0 * log10((signal + 1.0) / (noise + 1.0));
        total += snr < -10.0 ? -10.0 : (snr > 35.0 ? 35.0 : snr);
        ++frames;
    }
    return frames ? total / frames : 0.0;
}

void Run(const char* name, const std::vector<int16_t>& in, int rate)
{
    typedef std::chrono::steady_clock Clock;
    const size_t frames = in.size() / 320;
    const int repeat = 5;
    std::vector<uint16_t> coded(frames * 40);
    std::vector<int16_t> out(frames * 320);

    double encodeSeconds = 1e30, decodeSeconds = 1e30;
    for (int pass = 0; pass < repeat; ++pass) {
        G7221Encoder encoder(rate);
        auto t0 = Clock::now();
        for (size_t f = 0; f < frames; ++f)
            encoder.Encode(&in[f * 320], 320, &coded[f * 40], 40);
        auto t1 = Clock::now();
        G7221Decoder decoder(rate);
        auto t2 = Clock::now();
        for (size_t f = 0; f < frames; ++f)
            decoder.Decode(&coded[f * 40], 40, false, &out[f * 320], 320);
        auto t3 = Clock::now();
        double e = std::chrono::duration<double>(t1 - t0).count();
        double d = std::chrono::duration<double>(t3 - t2).count();
        if (e < encodeSeconds)
            encodeSeconds = e;
        if (d < decodeSeconds)
            decodeSeconds = d;
    }
    const double audioSeconds = frames * 0.02;
    printf("%-10s %5d bit/s  %6.2f s audio  encode %7.1f us/frame (x%.0f real time)  "
           "decode %7.1f us/frame (x%.0f real time)  segmental SNR %5.2f dB\n",
           name, rate, audioSeconds, encodeSeconds * 1e6 / frames, audioSeconds / encodeSeconds,
           decodeSeconds * 1e6 / frames, audioSeconds / decodeSeconds, SegmentalSnr(in, out));
    if (rate == 24000)
        BenchRow("G.722.1 encode + decode, 24 kbit/s",
                 audioSeconds / (encodeSeconds + decodeSeconds), 1.0, "x real time", ">=", 700.0);
}
} // namespace

int main(int argc, char** argv)
{
    std::vector<int16_t> speech = SyntheticSpeech(16000 * 10);
    const char* name = "synthetic";
    if (argc > 1) {
        speech = ReadWav(argv[1]);
        name = "wav";
        if (speech.size() < 320 * 3) {
            fprintf(stderr, "cannot read a 16-bit PCM WAV file from %s\n", argv[1]);
            return 1;
        }
    }
    printf("state a stream: encoder engine %u bytes, decoder engine %u bytes\n",
           (unsigned)sizeof(G7221EncoderEngine), (unsigned)sizeof(G7221DecoderEngine));
    for (int rate : {24000, 32000})
        Run(name, speech, rate);
    return 0;
}
