#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "AudioClock.h"

namespace SonvexFilterCore {

// Turns the PCM passing a point of the chain into a level 0..100: the mean
// magnitude of each window of at least 100 ms, full scale at 24575. No lock:
// the owner calls it under its own.
class EnergyMeter
{
public:
    explicit EnergyMeter(const AudioClock& clock = AudioClock::System());
    virtual ~EnergyMeter() = default;

    void Reset();
    void Add(const void* data, uint32_t bytes);
    int GetLevel() const { return m_level; }

    // The meter switch of a chain point that owns its meter through `meter`:
    // on makes a fresh, reset meter, off deletes it.
    static void Switch(std::unique_ptr<EnergyMeter>& meter, int on, const AudioClock& clock);
    // The level of the meter; a meter that was off is switched on and gives 0.
    static int ReadLevel(std::unique_ptr<EnergyMeter>& meter, const AudioClock& clock);

private:
    static int64_t SumMono16(const void* data, uint32_t samples);

    int64_t m_sum = 0;
    int64_t m_samples = 0;
    int m_level = 0;
    DWORD m_windowStart = 0;
    int64_t (*m_summer)(const void*, uint32_t) = &SumMono16;
    const AudioClock& m_clock;
};

} // namespace SonvexFilterCore
