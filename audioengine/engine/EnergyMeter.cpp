#include "EnergyMeter.h"

#include "SampleEnergy.h"

namespace RavoEngine {

EnergyMeter::EnergyMeter(const WAVEFORMATEX& format, const RavoClock& clock)
    : m_bits(format.wBitsPerSample == 8 ? 8 : 16), m_clock(clock), m_periodStart(clock.TickMs())
{}

void EnergyMeter::Measure(const uint8_t* data, uint32_t bytes)
{
    const uint32_t now = m_clock.TickMs();
    if (now - m_periodStart >= 100) {
        int level = 0;
        if (m_samples) {
            const uint64_t mean = m_energy / m_samples;
            level = static_cast<int>(mean * 100 / (m_bits == 8 ? 95 : 24575));
            if (level > 100)
                level = 100;
        }
        m_level = level;
        m_samples = 0;
        m_energy = 0;
        m_periodStart = now;
    }
    m_samples += SampleEnergy::SampleCount(bytes, m_bits);
    m_energy += SampleEnergy::Sum(data, bytes, m_bits);
}

} // namespace RavoEngine
