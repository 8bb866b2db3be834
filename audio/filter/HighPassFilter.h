#pragma once
#include <cstdint>

namespace SonvexFilterCore {

// The DC-blocking second-order high-pass in front of gain control and noise
// suppression (-3 dB near 24 Hz at 16000 Hz). Its state lasts across frames.
class HighPassFilter
{
public:
    HighPassFilter() = default;
    virtual ~HighPassFilter() = default;
    void Process(int16_t* samples, int count);

private:
    double m_w1 = 0.0, m_w2 = 0.0;   // direct form II state
};

} // namespace SonvexFilterCore
