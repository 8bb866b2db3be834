#pragma once
#include <cstdint>

#include "Dravo.h"

// The sender's rate words: the capture parameter block, the width steps
// that scale it by the size at which the picture is shown, and the
// adaptation that lowers the current rate while the measured rate stays
// above the configured one and raises it again when it stays below.
//
// Rates are computed in 64 bits; the current rate stays between MIN_RATE
// and MAX_RATE so that it can always recover and never overflows.
class CVideoRateControl
{
public:
    enum : int32_t {
        DEFAULT_RATE = 512000,
        MIN_TARGET = 1000,
        MIN_RATE = 10000,
        MAX_RATE = 100000000,
        WINDOW_MS = 5000,
        OVER_WINDOWS = 6,
        UNDER_WINDOWS = 100,
        STEPS = 5,
    };

    CVideoRateControl();

    DRAVO_CAPTURE_PARAMS& Params() { return m_params; }
    const DRAVO_CAPTURE_PARAMS& Params() const { return m_params; }

    // Configured and current rate from kbit/s, then every derived word.
    void SetBitRate(int64_t kbitPerSecond);
    void Recompute();
    // True when the widest step in use changed (the block then needs to
    // go to the engine again).
    bool SetVideoWidth(int oldWidth, int newWidth);
    // One encoded frame of that length at tick now; true when the current
    // rate changed.
    bool Adapt(uint32_t length, uint32_t now);

    int32_t ScaleWidth() const;
    int GetStepCount(int step) const { return m_counts[step]; }
    int GetOverCount() const { return m_over; }
    int GetUnderCount() const { return m_under; }

private:
    int32_t LargestStepInUse() const;
    void ApplyCurrent(int64_t rate);

    DRAVO_CAPTURE_PARAMS m_params;
    int m_counts[STEPS] = {0, 0, 0, 0, 0};
    bool m_windowStarted = false;
    uint32_t m_windowStart = 0;
    uint64_t m_windowBytes = 0;
    int m_over = 0;
    int m_under = 0;
};
