#include "RateConverter.h"

#include <cmath>

namespace SonvexDevice {

namespace {
const double kPi = 3.14159265358979323846;
const int64_t kFractionLimit = 268435455;

double BesselI0(double x)
{
    double sum = 1.0, term = 1.0, half = x / 2.0;
    for (int k = 1; k < 500; ++k) {
        term *= (half / k) * (half / k);
        sum += term;
        if (term * term < 1e-16 * sum)
            break;
    }
    return sum;
}

double Kaiser(double x, double beta)
{
    if (x < -1.0 || x > 1.0)
        return 0.0;
    return BesselI0(beta * std::sqrt(1.0 - x * x)) / BesselI0(beta);
}

double Sinc(double x)
{
    if (x == 0.0)
        return 1.0;
    if (x == std::floor(x))
        return 0.0;
    return std::sin(kPi * x) / (kPi * x);
}
} // namespace

void RateConverter::ToFraction(double ratio, int* numerator, int* denominator)
{
    // Convergents p/q of the continued fraction, until one equals the ratio
    // or the next would pass the limit.
    int64_t p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double x = ratio;
    int64_t bestP = 1, bestQ = 1;
    for (int i = 0; i < 64; ++i) {
        double a = std::floor(x);
        if (a > static_cast<double>(kFractionLimit))
            break;
        int64_t ai = static_cast<int64_t>(a);
        int64_t p2 = ai * p1 + p0, q2 = ai * q1 + q0;
        if (p2 > kFractionLimit || q2 > kFractionLimit)
            break;
        bestP = p2;
        bestQ = q2;
        if (static_cast<double>(p2) / static_cast<double>(q2) == ratio)
            break;
        double rest = x - a;
        if (rest <= 0.0)
            break;
        x = 1.0 / rest;
        p0 = p1;
        q0 = q1;
        p1 = p2;
        q1 = q2;
    }
    if (bestP < 1)
        bestP = 1;
    *numerator = static_cast<int>(bestP);
    *denominator = static_cast<int>(bestQ);
}

RateConverter::RateConverter(double ratio, int quality)
{
    if (!(ratio > 0.0))
        ratio = 1.0;
    ToFraction(ratio, &m_up, &m_down);
    const int L = m_up;
    const double g = (ratio < 1.0 ? ratio : 1.0) / 2.0;
    const double transition = quality == 0 ? 0.125 : 0.15;
    const int maxHalf = quality == 0 ? 64 : (quality == 2 ? 24 : 32);
    double total = std::ceil(L * 5.0174094707520895 / (transition * g));
    int half = static_cast<int>(std::ceil(total / (2.0 * L)));
    if (half > maxHalf)
        half = maxHalf;
    if (half < 1)
        half = 1;
    m_half = half;

    m_phases.resize(L);
    for (int p = 0; p < L; ++p) {
        int last = p == 0 ? half : half - 1;
        for (int j = -half; j <= last; ++j) {
            double t = j + static_cast<double>(p) / L;
            double c = 2.0 * g * Kaiser(t / half, 7.85726) * Sinc(2.0 * g * t);
            m_phases[p].push_back(static_cast<float>(c));
        }
    }

    int ring = 1;
    while (ring < 2 * half + 1)
        ring <<= 1;
    m_ringSize = ring;
    m_ringMask = ring - 1;
    m_history.assign(2 * ring, 0.0f);
    m_newest = 0;
}

void RateConverter::Push(int16_t sample)
{
    // Each sample goes in front of the newest: reading forward from the
    // newest walks back in time, contiguously thanks to the second copy.
    m_newest = (m_newest - 1) & m_ringMask;
    m_history[m_newest] = sample;
    m_history[m_newest + m_ringSize] = sample;
}

int16_t RateConverter::Output(int phase) const
{
    const std::vector<float>& taps = m_phases[phase];
    const float* window = &m_history[m_newest];
    float sum = 0.0f;
    for (size_t k = 0; k < taps.size(); ++k)
        sum += taps[k] * window[k];
    double y = std::floor(static_cast<double>(sum) + 0.5);
    if (y > 32767.0)
        y = 32767.0;
    else if (y < -32768.0)
        y = -32768.0;
    return static_cast<int16_t>(y);
}

int RateConverter::Convert(const int16_t* in, int inCount, int16_t* out, int outCount)
{
    if (!in || !out || inCount < 0 || outCount <= 0)
        return 0;
    if (static_cast<int64_t>(outCount) * m_down != static_cast<int64_t>(inCount) * m_up)
        return 0;
    int produced = 0;
    if (m_up == 1 && m_down == 1) {
        for (int i = 0; i < inCount; ++i) {
            Push(in[i]);
            out[produced++] = Output(0);
        }
    } else if (m_up == 1) {
        for (int i = 0; i < inCount; ++i) {
            Push(in[i]);
            if (++m_inCount % m_down == 0 && produced < outCount)
                out[produced++] = Output(0);
        }
    } else if (m_down == 1) {
        for (int i = 0; i < inCount; ++i) {
            Push(in[i]);
            for (int p = 0; p < m_up && produced < outCount; ++p)
                out[produced++] = Output(p);
        }
    } else {
        for (int i = 0; i < inCount; ++i) {
            Push(in[i]);
            ++m_inCount;
            // Every output whose position lies before the next input sample:
            // it is then computed from the input sample at or just before it,
            // so each call gives exactly its share of outputs.
            const int64_t limit = m_inCount * m_up;
            while (m_outCount * m_down < limit && produced < outCount) {
                int phase = static_cast<int>((m_outCount * m_down) % m_up);
                out[produced++] = Output(phase);
                ++m_outCount;
            }
        }
    }
    // Keep the counters small; their remainders are all that matters.
    const int64_t period = static_cast<int64_t>(m_up) * m_down;
    if (m_inCount >= period * 1024 && m_outCount >= period * 1024) {
        int64_t inPeriods = m_inCount / m_down, outPeriods = m_outCount / m_up;
        int64_t cut = (inPeriods < outPeriods ? inPeriods : outPeriods) - 1;
        if (cut > 0) {
            m_inCount -= cut * m_down;
            m_outCount -= cut * m_up;
        }
    }
    return produced;
}

} // namespace SonvexDevice
