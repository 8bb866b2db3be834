#include "LevelTracker.h"

#include <cmath>
#include <cstdlib>

namespace SonvexDevice {

void LevelTracker::Add(const int16_t* samples, int count)
{
    int largest = 1;
    for (int i = 0; i < count; ++i) {
        int a = std::abs(static_cast<int>(samples[i]));
        if (a > largest)
            largest = a;
    }
    if (largest > 32768)
        largest = 32768;
    const double level = 20.0 * std::log10(largest / 32768.0);
    m_level = level;

    ++m_age;
    if (level <= m_floor || m_age >= m_windowBlocks) {
        m_floor = level;
        m_age = 0;
    }
    if (level >= m_peak) {
        m_peak = level;
    } else {
        const double fallen = m_peak - 1.0;
        if (fallen >= m_floor && fallen >= level)
            m_peak = fallen;
    }
}

} // namespace SonvexDevice
