#include "G7221TestSignals.h"

#include <math.h>

#include "G7221Decoder.h"
#include "G7221Encoder.h"

namespace G7221TestSignals {
static const double kPi = 3.14159265358979323846;

std::vector<int16_t> Speech(int samples, double level)
{
    std::vector<int16_t> out(samples);
    uint32_t seed = 12345;
    double phase = 0.0;
    double a1 = 0, a2 = 0, b1 = 0, b2 = 0;
    const double r = 0.97;
    const double c1 = 2 * r * cos(2 * kPi * 700 / 16000.0);
    const double c2 = 2 * r * cos(2 * kPi * 1800 / 16000.0);
    for (int i = 0; i < samples; ++i) {
        double t = i / 16000.0;
        phase += (120.0 + 20.0 * sin(2 * kPi * 2 * t)) / 16000.0;
        double excitation = 0.0;
        if (phase >= 1.0) {
            phase -= 1.0;
            excitation = 1.0;
        }
        seed = seed * 1103515245u + 12345u;
        excitation += ((double)((seed >> 16) & 0x7FFF) / 32768.0 - 0.5) / 20.0;
        double f1 = excitation + c1 * a1 - r * r * a2;
        a2 = a1;
        a1 = f1;
        double f2 = excitation + c2 * b1 - r * r * b2;
        b2 = b1;
        b1 = f2;
        double envelope = 0.5 + 0.5 * sin(2 * kPi * 4 * t);
        double v = level * envelope * (800.0 * f1 + 500.0 * f2);
        if (v > 32767.0)
            v = 32767.0;
        if (v < -32768.0)
            v = -32768.0;
        out[i] = (int16_t)v;
    }
    return out;
}

std::vector<int16_t> Tones(int samples, double amplitude)
{
    std::vector<int16_t> out(samples);
    for (int i = 0; i < samples; ++i) {
        double t = i / 16000.0;
        out[i] =
            (int16_t)(amplitude * sin(2 * kPi * 440 * t) + amplitude / 2 * sin(2 * kPi * 1000 * t));
    }
    return out;
}

std::vector<int16_t> RoundTrip(int bitRate, const std::vector<int16_t>& in)
{
    G7221Encoder encoder(bitRate);
    G7221Decoder decoder(bitRate);
    std::vector<int16_t> out(in.size(), 0);
    uint16_t words[40];
    for (size_t f = 0; f + 320 <= in.size(); f += 320) {
        int n = encoder.Encode(&in[f], 320, words, 40);
        decoder.Decode(words, n, false, &out[f], 320);
    }
    return out;
}

double SegmentalSnr(const std::vector<int16_t>& in, const std::vector<int16_t>& out)
{
    double total = 0.0;
    int frames = 0;
    for (size_t f = 2 * 320; f + 320 <= in.size(); f += 320) {
        double signal = 0.0, noise = 0.0;
        for (int i = 0; i < 320; ++i) {
            double a = in[f + i - 320];
            double b = out[f + i];
            signal += a * a;
            noise += (a - b) * (a - b);
        }
        double snr = 10.0 * log10((signal + 1.0) / (noise + 1.0));
        total += snr < -10.0 ? -10.0 : (snr > 35.0 ? 35.0 : snr);
        ++frames;
    }
    return frames ? total / frames : 0.0;
}
} // namespace G7221TestSignals
