#pragma once
#include <cstdint>

#include "Biquad.h"

namespace SonvexFilterCore {

// The DC-blocking second-order high-pass in front of gain control and noise
// suppression (-3 dB near 24 Hz at 16000 Hz). Its state lasts across frames.
class HighPassFilter
{
public:
    HighPassFilter();
    virtual ~HighPassFilter() = default;
    void Process(int16_t* samples, int count);

private:
    AudioCommon::Biquad m_filter;
};

} // namespace SonvexFilterCore
