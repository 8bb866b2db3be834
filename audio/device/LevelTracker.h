#pragma once
#include <cstdint>

namespace SonvexDevice {

// Tracks the level of a block stream in dB full scale: the level of each
// block from its largest sample, a peak that falls 1 dB per block, and a
// floor that follows the quietest level of a window of blocks.
class LevelTracker
{
public:
    // window 5 gives a floor window of 40 blocks.
    explicit LevelTracker(int window = 5) : m_windowBlocks(window * 8) {}

    void Add(const int16_t* samples, int count);
    double Level() const { return m_level; }
    double Peak() const { return m_peak; }
    double Floor() const { return m_floor - 0.5; }

private:
    int m_windowBlocks;
    int m_age = 0;
    double m_level = -96.0;
    double m_peak = -96.0;
    double m_floor = -96.0;
};

} // namespace SonvexDevice
