#include "SilenceDetector.h"

#include <cstring>

#include "SampleEnergy.h"

namespace RavoEngine {

SilenceDetector::SilenceDetector(const WAVEFORMATEX& format)
    : m_bits(format.wBitsPerSample == 8 ? 8 : 16),
      m_windowSamples(format.nChannels * format.nSamplesPerSec * 5)
{}

bool SilenceDetector::IsSilent(const uint8_t* data, uint32_t bytes)
{
    const uint32_t samples = SampleEnergy::SampleCount(bytes, m_bits);
    if (!samples)
        return false;
    const uint32_t m = static_cast<uint32_t>(SampleEnergy::Sum(data, bytes, m_bits) / samples);
    if (m / 100 < 100)
        ++m_histogram[m / 100];
    if (m > m_highest)
        m_highest = m;
    if (m < m_lowest)
        m_lowest = m < 1 ? 1 : m;
    m_counted += samples;
    if (m_counted >= m_windowSamples) {
        if (m_highest / m_lowest > 30) {
            uint32_t best = 0;
            for (uint32_t i = 1; i < 100; ++i)
                if (m_histogram[i] > m_histogram[best])
                    best = i;
            m_threshold = best * 100 + 500;
            memset(m_histogram, 0, sizeof m_histogram);
        }
        m_counted = 0;
        m_lowest = 32767;
        m_highest = 0;
    }
    if (m >= m_threshold) {
        m_quietRun = 0;
        ++m_loudRun;
        return false;
    }
    ++m_quietRun;
    if (m_quietRun > 20) {
        m_loudRun = 0;
        return true;
    }
    return false;
}

} // namespace RavoEngine
