#include "CVideoRateControl.h"

#include <cstring>

namespace {

const int32_t kStepWidths[CVideoRateControl::STEPS] = {200, 300, 400, 500, 2000};

struct RateRow
{
    int32_t value;
    int32_t percent;
    int32_t threshold;
};

const RateRow kRates[] = {
    {20, 98, 1536000}, {20, 95, 1024000}, {20, 90, 768000}, {18, 85, 512000}, {15, 85, 384000},
    {12, 85, 256000},  {8, 85, 128000},   {5, 85, 64000},   {3, 80, 32000},   {2, 75, 20000},
    {2, 70, 15000},    {1, 65, 10000},    {1, 60, 0},
};

} // namespace

CVideoRateControl::CVideoRateControl()
{
    memset(&m_params, 0, sizeof m_params);
    m_params.configuredRate = DEFAULT_RATE;
    m_params.currentRate = DEFAULT_RATE;
    Recompute();
}

int32_t CVideoRateControl::LargestStepInUse() const
{
    for (int i = STEPS - 1; i >= 0; --i)
        if (m_counts[i] > 0)
            return kStepWidths[i];
    return 0;
}

int32_t CVideoRateControl::ScaleWidth() const
{
    const int32_t w = LargestStepInUse();
    return w < 400 ? 400 : (w > 500 ? 500 : w);
}

void CVideoRateControl::Recompute()
{
    const int64_t w = ScaleWidth();
    const int64_t current = m_params.currentRate;
    // w * 0.002 done in integers: rate * w / 500.
    int64_t target = current * w / 500;
    if (target <= MIN_TARGET)
        target = MIN_TARGET;
    m_params.targetRate = static_cast<int32_t>(target);
    const RateRow* row = &kRates[3];
    for (const RateRow& r : kRates) {
        if (r.threshold <= current) {
            row = &r;
            break;
        }
    }
    m_params.rateValue = row->value;
    m_params.rateValue2 = row->value;
    m_params.percent = static_cast<int32_t>(row->percent * w / 500);
}

void CVideoRateControl::ApplyCurrent(int64_t rate)
{
    if (rate < MIN_RATE)
        rate = MIN_RATE;
    if (rate > MAX_RATE)
        rate = MAX_RATE;
    m_params.currentRate = static_cast<int32_t>(rate);
    Recompute();
}

void CVideoRateControl::SetBitRate(int64_t kbitPerSecond)
{
    // A negative rate is kept as given (only bounded): no row's threshold
    // is that low, so the derived words come from the default row.
    int64_t rate = kbitPerSecond * 1000;
    if (rate < -MAX_RATE)
        rate = -MAX_RATE;
    if (rate > MAX_RATE)
        rate = MAX_RATE;
    m_params.configuredRate = static_cast<int32_t>(rate);
    m_params.currentRate = static_cast<int32_t>(rate);
    Recompute();
}

bool CVideoRateControl::SetVideoWidth(int oldWidth, int newWidth)
{
    if (oldWidth < 1 && newWidth < 1)
        return false;
    const int32_t before = LargestStepInUse();
    if (oldWidth >= 1) {
        for (int i = 0; i < STEPS; ++i) {
            if (kStepWidths[i] >= oldWidth && m_counts[i] > 0) {
                --m_counts[i];
                break;
            }
        }
    }
    if (newWidth >= 1) {
        for (int i = 0; i < STEPS; ++i) {
            if (kStepWidths[i] >= newWidth) {
                ++m_counts[i];
                break;
            }
        }
    }
    if (LargestStepInUse() == before)
        return false;
    const int32_t value = m_params.rateValue;
    Recompute();
    // A width change moves only the target and percent words.
    m_params.rateValue = value;
    m_params.rateValue2 = value;
    return true;
}

bool CVideoRateControl::Adapt(uint32_t length, uint32_t now)
{
    if (!m_windowStarted) {
        m_windowStarted = true;
        m_windowStart = now;
        m_windowBytes = 0;
    }
    m_windowBytes += length;
    const uint32_t elapsed = now - m_windowStart;
    if (elapsed < static_cast<uint32_t>(WINDOW_MS))
        return false;

    bool changed = false;
    const uint64_t measured = m_windowBytes * 8000u / elapsed;
    if (measured >
        static_cast<uint64_t>(m_params.configuredRate > 0 ? m_params.configuredRate : 0)) {
        ++m_over;
        m_under = 0;
        if (m_over >= OVER_WINDOWS) {
            ApplyCurrent(static_cast<int64_t>(m_params.currentRate) * 9 / 10);
            m_over = 0;
            changed = true;
        }
    } else {
        m_over = 0;
        ++m_under;
    }
    if (m_under >= UNDER_WINDOWS) {
        ApplyCurrent(static_cast<int64_t>(m_params.currentRate) * 11 / 10);
        m_under = 0;
        changed = true;
    }
    m_windowStart = now;
    m_windowBytes = 0;
    return changed;
}
