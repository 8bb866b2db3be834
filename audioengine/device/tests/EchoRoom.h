#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

using namespace RavoTDevice;

// A synthetic room: speech-like farEnd-end noise, an echo path of a delay and a
// decaying random tail, and optional near-end talk, at 8000 Hz.
struct EchoRoom
{
    std::vector<int16_t> farEnd, mic, nearOnly;

    static uint32_t Next(uint32_t& s)
    {
        s = s * 1664525u + 1013904223u;
        return s >> 8;
    }

    // seconds of audio; echoGain scales the path; nearFrom (seconds) starts
    // near-end talk, negative for none, at the talker's peak level.
    EchoRoom(double seconds, double echoGain = 0.5, double nearFrom = -1, uint32_t seed = 7,
             double talkerPeak = 4000)
    {
        const int n = static_cast<int>(seconds * 8000);
        std::vector<double> path(200, 0.0);
        uint32_t s = seed;
        for (int k = 40; k < 200; ++k) {
            double r = (Next(s) % 2001) / 1000.0 - 1.0;
            path[k] = 0.3 * echoGain * r * std::exp(-(k - 40) / 30.0);
        }
        path[40] = echoGain;
        farEnd.resize(n);
        double a = 0, b = 0;
        for (int i = 0; i < n; ++i) {
            // Noise coloured by two poles and shaped by a syllable envelope.
            double w = (Next(s) % 20001) / 10000.0 - 1.0;
            a = 0.6 * a + w;
            b = 0.3 * b + a;
            double env = 0.55 + 0.45 * std::sin(2 * 3.14159265 * 3.0 * i / 8000.0);
            farEnd[i] = static_cast<int16_t>(b * 4000 * env);
        }
        mic.resize(n);
        nearOnly.assign(n, 0);
        for (int i = 0; i < n; ++i) {
            double e = 0;
            for (int k = 0; k < 200 && k <= i; ++k)
                e += path[k] * farEnd[i - k];
            double v = 0;
            if (nearFrom >= 0 && i >= nearFrom * 8000) {
                double t = i / 8000.0;
                v = talkerPeak * std::sin(2 * 3.14159265 * 220 * t) *
                    (0.5 + 0.5 * std::sin(2 * 3.14159265 * 2 * t));
                nearOnly[i] = static_cast<int16_t>(v);
            }
            double m = e + v + (static_cast<int>(Next(s) % 21) - 10);
            if (m > 32767)
                m = 32767;
            if (m < -32768)
                m = -32768;
            mic[i] = static_cast<int16_t>(m);
        }
    }
};

inline double Energy(const int16_t* x, size_t n)
{
    double e = 0;
    for (size_t i = 0; i < n; ++i)
        e += static_cast<double>(x[i]) * x[i];
    return e;
}
