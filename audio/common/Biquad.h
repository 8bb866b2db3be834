#pragma once
#include <cstdint>

namespace AudioCommon {

// A second-order filter in direct form II, double precision, with a0 = 1:
// the one both audio processers build their high-pass and shaping filters on.
class Biquad
{
public:
    Biquad(double b0, double b1, double b2, double a1, double a2)
        : m_b0(b0), m_b1(b1), m_b2(b2), m_a1(a1), m_a2(a2)
    {}

    double Step(double x)
    {
        const double w = x - m_a1 * m_w1 - m_a2 * m_w2;
        const double y = m_b0 * w + m_b1 * m_w1 + m_b2 * m_w2;
        m_w2 = m_w1;
        m_w1 = w;
        return y;
    }
    // In place on 16-bit samples: each output clamped to the 16-bit range and
    // truncated toward zero.
    void Process(int16_t* samples, int count)
    {
        for (int i = 0; i < count; ++i) {
            double y = Step(samples[i]);
            y = y > 32767.0 ? 32767.0 : (y < -32768.0 ? -32768.0 : y);
            samples[i] = static_cast<int16_t>(y);
        }
    }
    void Reset() { m_w1 = m_w2 = 0.0; }

private:
    double m_b0, m_b1, m_b2, m_a1, m_a2;
    double m_w1 = 0.0, m_w2 = 0.0;
};

} // namespace AudioCommon
