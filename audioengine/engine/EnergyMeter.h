#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

#include "RavoClock.h"

namespace RavoEngine {

// Level meter: the mean absolute sample value over periods of 100 ms, as a
// level of 0 to 100.
class EnergyMeter
{
public:
    EnergyMeter(const WAVEFORMATEX& format, const RavoClock& clock = RavoClock::System());

    void Measure(const uint8_t* data, uint32_t bytes);
    int GetLevel() const { return m_level; }

private:
    int m_bits;
    const RavoClock& m_clock;
    uint64_t m_samples = 0;
    uint64_t m_energy = 0;
    uint32_t m_periodStart;
    int m_level = 0;
};

} // namespace RavoEngine
