#pragma once

namespace RavoEngine {

// A second-order filter in direct form II, double precision, with a0 = 1.
class Biquad
{
public:
    Biquad(double b0, double b1, double b2, double a1, double a2)
        : m_b0(b0), m_b1(b1), m_b2(b2), m_a1(a1), m_a2(a2)
    {
    }

    double Step(double x)
    {
        const double w = x - m_a1 * m_w1 - m_a2 * m_w2;
        const double y = m_b0 * w + m_b1 * m_w1 + m_b2 * m_w2;
        m_w2 = m_w1;
        m_w1 = w;
        return y;
    }
    void Reset() { m_w1 = m_w2 = 0.0; }

private:
    double m_b0, m_b1, m_b2, m_a1, m_a2;
    double m_w1 = 0.0, m_w2 = 0.0;
};

} // namespace RavoEngine
