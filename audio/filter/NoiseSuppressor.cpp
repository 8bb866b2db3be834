#include "NoiseSuppressor.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace SonvexFilterCore {

namespace {

const int KNOTS = 259;

// Exponential integral E1(v) for v > 0.
double E1(double v)
{
    if (v < 1.0) {
        double sum = 0.0, term = 1.0;
        for (int k = 1; k < 60; ++k) {
            term *= -v / k;
            sum += -term / k;
            if (std::fabs(term) < 1e-18)
                break;
        }
        return -0.57721566490153286 - std::log(v) + sum;
    }
    // Continued fraction (modified Lentz).
    double b = v + 1.0, c = 1e300, d = 1.0 / b, h = d;
    for (int i = 1; i < 200; ++i) {
        double a = -static_cast<double>(i) * i;
        b += 2.0;
        d = 1.0 / (a * d + b);
        c = b + a / c;
        double del = c * d;
        h *= del;
        if (std::fabs(del - 1.0) < 1e-15)
            break;
    }
    return h * std::exp(-v);
}

// Knots at least 1.2 apart: at most four in any octave, so the search for
// the interval of v starts from the last knot not above the octave's start.
const int OCTAVE_FIRST = -70, OCTAVES = 76;

int Octave(double v)
{
    uint64_t bits;
    memcpy(&bits, &v, sizeof bits);
    return static_cast<int>((bits >> 52) & 0x7ff) - 1023;
}

struct GainTable
{
    double v[KNOTS];
    double g[KNOTS];
    double slope[KNOTS];
    int start[OCTAVES];
    GainTable()
    {
        v[0] = 1e-20;
        for (int i = 1; i < KNOTS; ++i)
            v[i] = 1.2 * v[i - 1] + 8e-21;
        for (int i = 0; i < KNOTS; ++i)
            g[i] = std::exp(E1(v[i]) / 2.0);
        g[KNOTS - 1] = 1.0;
        for (int i = 0; i + 1 < KNOTS; ++i)
            slope[i] = (g[i + 1] - g[i]) / (v[i + 1] - v[i]);
        slope[KNOTS - 1] = 0.0;
        for (int o = 0; o < OCTAVES; ++o) {
            const double low = std::ldexp(1.0, OCTAVE_FIRST + o);
            int i = 0;
            while (i + 1 < KNOTS && v[i + 1] <= low)
                ++i;
            start[o] = i;
        }
    }
};

const GainTable& Table()
{
    static const GainTable table; // built once, safely, on first use
    return table;
}

} // namespace

double NoiseSuppressor::GainFactor(double v)
{
    const GainTable& t = Table();
    if (!(v >= t.v[0])) // below the table, or not a number
        return 7493063168.0;
    if (v >= t.v[KNOTS - 1])
        return 1.0;
    int lo = t.start[Octave(v) - OCTAVE_FIRST];
    while (t.v[lo + 1] <= v)
        ++lo;
    return t.g[lo] + t.slope[lo] * (v - t.v[lo]);
}

NoiseSuppressor::NoiseSuppressor(int rate, int frame, int level)
    : m_n(frame), m_rate(rate), m_likelihood(frame, rate / 50),
      m_noise(static_cast<size_t>(frame), 1e-16f), m_lastGain(static_cast<size_t>(frame), 0.0f),
      m_lastGamma(static_cast<size_t>(frame), 0.0f), m_block(static_cast<size_t>(2 * frame), 0.0f),
      m_coeffs(static_cast<size_t>(frame)), m_inverse(static_cast<size_t>(2 * frame)),
      m_overlap(static_cast<size_t>(frame), 0.0f), m_mdct(frame)
{
    if (level < 0)
        level = 0;
    if (level > 30)
        level = 30;
    double db = -(9.0 + 3.01 * level);
    if (db < -96.0)
        db = -96.0;
    m_floor = static_cast<float>(std::pow(10.0, db / 20.0));
}

bool NoiseSuppressor::Process(const int16_t* in, int16_t* out, int samples)
{
    const int n = m_n;
    if (samples != n) {
        printf("\n invalid frame len = %d\n", samples);
        return false;
    }
    const double r = m_likelihood.Measure(in);
    const float beta =
        static_cast<float>(0.95 + 0.05 * SpeechLikelihood::Smooth(static_cast<int>(100.0 * r)));

    memmove(m_block.data(), m_block.data() + n, sizeof(float) * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        m_block[static_cast<size_t>(n + i)] = in[i];
    m_mdct.Forward(m_block.data(), m_coeffs.data());

    for (int k = 0; k < n; ++k) {
        size_t kk = static_cast<size_t>(k);
        float x = m_coeffs[kk];
        float p = x * x + 1e-16f;
        m_noise[kk] = beta * m_noise[kk] + (1.0f - beta) * p;
        float gamma = p / m_noise[kk];
        float excess = gamma - 1.0f > 0.0f ? gamma - 1.0f : 0.0f;
        float xi = m_frames == 0
                       ? 0.98f + 0.02f * excess
                       : 0.98f * m_lastGain[kk] * m_lastGain[kk] * m_lastGamma[kk] + 0.02f * excess;
        float ratio = xi / (1.0f + xi);
        float g = static_cast<float>(ratio * GainFactor(static_cast<double>(ratio) * gamma));
        m_lastGamma[kk] = gamma;
        if (g < m_floor)
            g = m_floor;
        m_lastGain[kk] = g;
        m_coeffs[kk] = x * g;
    }
    m_mdct.Inverse(m_coeffs.data(), m_inverse.data());
    for (int i = 0; i < n; ++i) {
        float y = m_inverse[static_cast<size_t>(i)] + m_overlap[static_cast<size_t>(i)];
        m_overlap[static_cast<size_t>(i)] = m_inverse[static_cast<size_t>(n + i)];
        if (y > 32767.0f)
            y = 32767.0f;
        else if (y < -32768.0f)
            y = -32768.0f;
        out[i] = static_cast<int16_t>(y);
    }
    ++m_frames;
    return true;
}

} // namespace SonvexFilterCore
