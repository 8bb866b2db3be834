#pragma once
#include <cstdint>
#include <vector>

namespace RavoTDevice {

// Affine-projection echo canceller of order 2: the inverse of the input
// correlation matrix is kept by rank-one updates, diverged weights are
// replaced by a copy saved while the filter was settled, and a coherence
// gain pulls down what is left of the echo.
class ApaEchoState
{
public:
    // Filter length is blocks x 8 taps (blocks clamped to 32..128).
    ApaEchoState(int blocks, bool coherenceGain);

    short Process(short farSample, short mic);

    int Length() const { return m_length; }

private:
    // Park and Miller's minimal standard generator, value in (0, 1).
    struct MinStd
    {
        int32_t state;
        double Next();
    };
    struct HighPass
    {
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        double Run(double x);
    };

    int m_length;
    bool m_coherence;
    std::vector<double> m_w;
    std::vector<double> m_x; // input history, newest at m_pos, length + spare
    int m_pos;
    double m_rinv[2][2];
    double m_prevError = 0;
    double m_update = 1e-5;
    double m_floor = -35;
    std::vector<std::vector<double>> m_saved;
    int m_nextSlot = 0;
    long m_count = 0;
    int m_hold = 0;
    double m_a = 1e-10, m_b = 1e-10;
    MinStd m_dither{131};
    MinStd m_noise{113};
    HighPass m_hpFar, m_hpMic;
};

} // namespace RavoTDevice
