#include "EnergyMeter.h"

#include <cstdlib>
#include <new>

namespace SonvexFilterCore {

EnergyMeter::EnergyMeter(const AudioClock& clock) : m_clock(clock)
{
    m_windowStart = m_clock.TickCount();
}

void EnergyMeter::Reset()
{
    m_windowStart = m_clock.TickCount();
    m_summer = &SumMono16;
}

int64_t EnergyMeter::SumMono16(const void* data, uint32_t samples)
{
    const int16_t* s = static_cast<const int16_t*>(data);
    int64_t sum = 0;
    for (uint32_t i = 0; i < samples; ++i)
        sum += std::abs(static_cast<int>(s[i]));
    return sum;
}

void EnergyMeter::Add(const void* data, uint32_t bytes)
{
    DWORD now = m_clock.TickCount();
    if (now - m_windowStart >= 100) {
        double mean = m_samples > 0 ? static_cast<double>(m_sum / m_samples) : 0.0;
        // Each product rounded to a double, whatever precision the FPU keeps.
        volatile double scaled = mean * 100.0;
        volatile double level = scaled * 4.069175991861648e-05;
        int v = static_cast<int>(level);
        m_level = v < 0 ? 0 : (v > 100 ? 100 : v);
        m_sum = 0;
        m_samples = 0;
        m_windowStart = now;
    }
    if (!data)
        return;
    m_samples += bytes / 2;
    m_sum += m_summer(data, bytes / 2);
}

void EnergyMeter::Switch(std::unique_ptr<EnergyMeter>& meter, int on, const AudioClock& clock)
{
    meter.reset(on ? new (std::nothrow) EnergyMeter(clock) : nullptr);
    if (meter)
        meter->Reset();
}

int EnergyMeter::ReadLevel(std::unique_ptr<EnergyMeter>& meter, const AudioClock& clock)
{
    if (!meter) {
        Switch(meter, 1, clock);
        return 0;
    }
    return meter->GetLevel();
}

} // namespace SonvexFilterCore
