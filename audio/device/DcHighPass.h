#pragma once
#include <cstdint>

namespace SonvexDevice {

// Second-order high-pass that takes the DC and rumble off a signal
// (direct form II, double precision state).
class DcHighPass
{
public:
    void Reset() { m_w1 = m_w2 = 0.0; }
    double Step(double x)
    {
        double w = x + 1.97199877965507 * m_w1 - 0.97245709697104 * m_w2;
        double y = 0.97482716027204 * w - 1.94964974303242 * m_w1 + 0.97482716027204 * m_w2;
        m_w2 = m_w1;
        m_w1 = w;
        return y;
    }
    // Filters 16-bit samples in place, rounded and limited to 16 bits.
    void Run(int16_t* samples, int count);
    // Filters floats in place.
    void Run(float* samples, int count);

private:
    double m_w1 = 0.0;
    double m_w2 = 0.0;
};

} // namespace SonvexDevice
