#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

namespace RavoEngine {

// Decides per block whether captured audio is silence: learns a threshold
// from a histogram of block levels over five-second windows with enough
// dynamics, and reports silence from the 21st quiet block in a row.
class SilenceDetector
{
public:
    explicit SilenceDetector(const WAVEFORMATEX& format);

    // True when the block counts as silence.
    bool IsSilent(const uint8_t* data, uint32_t bytes);
    uint32_t GetThreshold() const { return m_threshold; }

private:
    int m_bits;
    uint32_t m_windowSamples;
    uint32_t m_histogram[100] = {};
    uint32_t m_lowest = 32767;
    uint32_t m_highest = 0;
    uint32_t m_counted = 0;
    uint32_t m_threshold = 0;
    uint32_t m_quietRun = 0;
    uint32_t m_loudRun = 0;
};

} // namespace RavoEngine
