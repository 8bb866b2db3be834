#include "SpeechLikelihood.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace SonvexFilterCore {

SpeechLikelihood::SpeechLikelihood(int frame, int window)
    : m_n(frame), m_w(window),
      m_buffer(static_cast<size_t>(frame + window), 0),
      m_prefix(static_cast<size_t>(frame + window) + 1, 0)
{
}

double SpeechLikelihood::Smooth(int i)
{
    if (i < 0)
        i = 0;
    if (i > 100)
        i = 100;
    return 1.0 / (1.0 + std::exp(-(i - 15) / 5.0));
}

int SpeechLikelihood::Dither(int d)
{
    m_seed = m_seed * 1664525u + 1013904223u;
    return static_cast<int>((m_seed >> 8) % static_cast<uint32_t>(2 * d)) - d;
}

double SpeechLikelihood::Measure(const int16_t* x)
{
    const int n = m_n;
    int64_t sum = 0;
    for (int i = 0; i < n; ++i)
        sum += static_cast<int64_t>(x[i]) * x[i];
    m_powers[0] = m_powers[1];
    m_powers[1] = m_powers[2];
    m_powers[2] = sum / n;
    double m = static_cast<double>(std::min({ m_powers[0], m_powers[1], m_powers[2] }));
    double M = static_cast<double>(std::max({ m_powers[0], m_powers[1], m_powers[2] }));
    if (m < 1.0) {
        m = 327.0;
        M = 359.0;
    }
    int d = static_cast<int>(std::sqrt(m + 1.0));
    d = std::max(327, std::min(2067, d));

    // The history moves up by a whole frame, so that position L + i holds
    // the sample L older than position i; then the new frame comes in
    // reversed (position 0 = newest sample).
    const size_t total = m_buffer.size();
    int32_t* b = m_buffer.data();
    if (total > static_cast<size_t>(n))
        memmove(b + n, b, sizeof(int32_t) * (total - static_cast<size_t>(n)));
    for (int i = 0; i < n; ++i)
        b[i] = x[n - 1 - i] + Dither(d);
    int64_t* prefix = m_prefix.data();
    prefix[0] = 0;
    for (size_t i = 0; i < total; ++i)
        prefix[i + 1] = prefix[i] + static_cast<int64_t>(b[i]) * b[i];

    const double e0 = static_cast<double>(prefix[std::min(static_cast<size_t>(n), total)]);
    double best = 1e-16;
    for (int lag = 20; lag < m_w; lag += 2) {
        const int count = std::max(0, std::min(n, static_cast<int>(total) - lag));
        const int32_t* a = b + lag;
        int64_t c = 0;
        for (int i = 0; i < count; ++i)
            c += static_cast<int64_t>(b[i]) * a[i];
        const int64_t e = prefix[lag + count] - prefix[lag];
        if (c > 0 && e > 0) {
            const double cd = static_cast<double>(c);
            best = std::max(best, cd * cd / static_cast<double>(e));
        }
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

} // namespace SonvexFilterCore
