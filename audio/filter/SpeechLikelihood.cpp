#include "SpeechLikelihood.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace SonvexFilterCore {

namespace {

// Elements summed in 32-bit lanes before the lanes go into 64 bits: a lane
// takes at most CHUNK / 8 sums of two products, each part of which lies
// below 2^17 (255 x 255 twice, or the 16-bit halves of a narrow pair).
const int CHUNK = 1 << 16;

#if defined(__SSE2__)
int64_t LaneSum(__m128i v)
{
    alignas(16) int32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), v);
    return static_cast<int64_t>(lanes[0]) + lanes[1] + lanes[2] + lanes[3];
}
#endif

} // namespace

SpeechLikelihood::SpeechLikelihood(int frame, int window)
    : m_n(frame), m_w(window), m_buffer(static_cast<size_t>(frame + window), 0),
      m_prefix(static_cast<size_t>(frame + window) + 1, 0),
      m_narrow(static_cast<size_t>(frame + window), 0),
      m_high(static_cast<size_t>(frame + window), 0), m_low(static_cast<size_t>(frame + window), 0)
{}

double SpeechLikelihood::Smooth(int i)
{
    if (i < 0)
        i = 0;
    if (i > 100)
        i = 100;
    return 1.0 / (1.0 + std::exp(-(i - 15) / 5.0));
}

// A uniform whole number in -d..d-1: the generator's top 24 bits modulo 2d,
// the quotient taken through a reciprocal (at most one short) and mended.
int SpeechLikelihood::Dither(int d, uint32_t reciprocal)
{
    m_seed = m_seed * 1664525u + 1013904223u;
    const uint32_t x = m_seed >> 8, span = static_cast<uint32_t>(2 * d);
    uint32_t rest = x - static_cast<uint32_t>((static_cast<uint64_t>(x) * reciprocal) >> 32) * span;
    if (rest >= span)
        rest -= span;
    return static_cast<int>(rest) - d;
}

// Sum over i < count of buffer(i) x buffer(lag + i), exactly. Narrow
// samples: each pair of products (below 2^31) is split into its high and
// low 16 bits, summed apart. Otherwise the split samples give
// 65536 HH + 256 (HL + LH) + LL.
int64_t SpeechLikelihood::Correlation(int lag, bool narrow) const
{
    const int count = std::max(0, std::min(m_n, static_cast<int>(m_buffer.size()) - lag));
    int64_t c = 0;
    int i = 0;
#if defined(__SSE2__)
    if (narrow) {
        const int16_t* a = m_narrow.data();
        const int16_t* b = a + lag;
        const __m128i lowMask = _mm_set1_epi32(0xFFFF);
        while (count - i >= 8) {
            const int end = i + std::min(CHUNK, (count - i) & ~7);
            __m128i high = _mm_setzero_si128(), low = _mm_setzero_si128();
            for (; i < end; i += 8) {
                const __m128i p =
                    _mm_madd_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i)),
                                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i)));
                high = _mm_add_epi32(high, _mm_srai_epi32(p, 16));
                low = _mm_add_epi32(low, _mm_and_si128(p, lowMask));
            }
            c += 65536 * LaneSum(high) + LaneSum(low);
        }
    } else {
        const int16_t* ha = m_high.data();
        const int16_t* la = m_low.data();
        const int16_t* hb = ha + lag;
        const int16_t* lb = la + lag;
        while (count - i >= 8) {
            const int end = i + std::min(CHUNK, (count - i) & ~7);
            __m128i hh = _mm_setzero_si128(), cross = _mm_setzero_si128(), ll = _mm_setzero_si128();
            for (; i < end; i += 8) {
                const __m128i h0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ha + i));
                const __m128i l0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(la + i));
                const __m128i h1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hb + i));
                const __m128i l1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lb + i));
                hh = _mm_add_epi32(hh, _mm_madd_epi16(h0, h1));
                cross = _mm_add_epi32(
                    cross, _mm_add_epi32(_mm_madd_epi16(h0, l1), _mm_madd_epi16(l0, h1)));
                ll = _mm_add_epi32(ll, _mm_madd_epi16(l0, l1));
            }
            c += 65536 * LaneSum(hh) + 256 * LaneSum(cross) + LaneSum(ll);
        }
    }
#else
    (void)narrow;
#endif
    const int32_t* b = m_buffer.data();
    for (; i < count; ++i)
        c += static_cast<int64_t>(b[i]) * b[lag + i];
    return c;
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
    double m = static_cast<double>(std::min({m_powers[0], m_powers[1], m_powers[2]}));
    double M = static_cast<double>(std::max({m_powers[0], m_powers[1], m_powers[2]}));
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
    int16_t* narrow = m_narrow.data();
    int16_t* high = m_high.data();
    int16_t* low = m_low.data();
    if (total > static_cast<size_t>(n)) {
        const size_t kept = total - static_cast<size_t>(n);
        memmove(b + n, b, sizeof(int32_t) * kept);
        memmove(narrow + n, narrow, sizeof(int16_t) * kept);
        memmove(high + n, high, sizeof(int16_t) * kept);
        memmove(low + n, low, sizeof(int16_t) * kept);
    }
    const uint32_t reciprocal = 0xFFFFFFFFu / static_cast<uint32_t>(2 * d);
    for (int i = 0; i < n; ++i) {
        const int32_t v = x[n - 1 - i] + Dither(d, reciprocal);
        b[i] = v;
        narrow[i] = static_cast<int16_t>(std::max(-32767, std::min(32767, v)));
        high[i] = static_cast<int16_t>(v >> 8);
        low[i] = static_cast<int16_t>(v & 255);
    }
    bool fits = true;
    for (size_t i = 0; i < total; ++i)
        fits &= b[i] == narrow[i];
    int64_t* prefix = m_prefix.data();
    prefix[0] = 0;
    for (size_t i = 0; i < total; ++i)
        prefix[i + 1] = prefix[i] + static_cast<int64_t>(b[i]) * b[i];

    const double e0 = static_cast<double>(prefix[std::min(static_cast<size_t>(n), total)]);
    double best = 1e-16;
    for (int lag = 20; lag < m_w; lag += 2) {
        const int count = std::max(0, std::min(n, static_cast<int>(total) - lag));
        const int64_t c = Correlation(lag, fits);
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
