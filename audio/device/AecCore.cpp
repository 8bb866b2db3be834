#include "AecCore.h"

#include <cmath>
#include <cstring>

namespace SonvexDevice {

bool AecCore::init(int rate, float frameMs, float echoPathMs)
{
    m_filter.reset();
    if (rate != 8000 && rate != 16000)
        return false;
    if (!(frameMs >= 0.5f && frameMs <= 10.0f))
        return false;
    const double samples = frameMs * rate / 1000.0;
    if (samples != std::floor(samples))
        return false;
    if (echoPathMs < 32.0f)
        echoPathMs = 32.0f;
    if (echoPathMs > 256.0f)
        echoPathMs = 256.0f;
    m_rate = rate;
    m_frameMs = frameMs;
    m_frameSamples = static_cast<int>(samples);
    m_taps = static_cast<int>(std::floor(rate * echoPathMs / 1000.0 + 0.5));

    int ringWanted = static_cast<int>(rate * std::ceil(frameMs + 40.0) / 1000.0);
    int ring = 1;
    while (ring < ringWanted)
        ring <<= 1;
    m_ringSize = ring;
    m_ringMask = ring - 1;
    m_ring.assign(2 * ring, 0);
    m_write = 0;
    m_farDelay = 0;
    m_lastEstimate = -1;
    m_resyncPeriod = static_cast<int>(std::ceil(30.0 / (frameMs / 1000.0)));
    m_countdown = m_resyncPeriod;
    m_syncRequest = 0;
    m_farFilter.Reset();
    m_nearFilter.Reset();
    m_far.assign(m_frameSamples, 0.0f);
    m_near.assign(m_frameSamples, 0.0f);
    m_out.assign(m_frameSamples, 0.0f);
    m_filter.reset(new AecSubbandFilter(m_frameSamples, m_taps));
    m_filter->SetResidualGain(m_residualGain);
    return true;
}

void AecCore::SetResidualGain(bool on)
{
    m_residualGain = on;
    if (m_filter)
        m_filter->SetResidualGain(on);
}

void AecCore::Resynchronise()
{
    if (m_countdown == 0) {
        const int estimate = m_filter->Lattice().DelayEstimate();
        if (estimate >= 0 && estimate != m_lastEstimate) {
            const double d = estimate * m_frameMs;
            bool acted = true;
            if (d < 5.0)
                m_syncRequest = -1;
            else if (d >= 40.0)
                m_syncRequest = 1;
            else if (d > 20.0)
                m_farDelay = static_cast<int>(std::ceil(d - 12.0) * m_rate / 1000.0);
            else
                acted = false;
            if (acted) {
                m_lastEstimate = estimate;
                m_countdown = m_resyncPeriod;
            }
        }
    }
    if (m_countdown > 0)
        --m_countdown;
}

bool AecCore::process(const int16_t* far, const int16_t* nearEnd, int16_t* out, int samples)
{
    if (!m_filter || samples != m_frameSamples || !far || !nearEnd || !out)
        return false;
    m_syncRequest = 0;
    const int D = m_frameSamples;
    for (int i = 0; i < D; ++i) {
        m_ring[m_write] = far[i];
        m_ring[m_write + m_ringSize] = far[i];
        m_write = (m_write + 1) & m_ringMask;
    }
    Resynchronise();
    const int start = (m_write - D - m_farDelay) & m_ringMask;
    const float scale = 1.0f / 32768.0f;
    for (int i = 0; i < D; ++i) {
        m_far[i] = m_ring[start + i] * scale;
        m_near[i] = nearEnd[i] * scale;
    }
    m_farFilter.Run(m_far.data(), D);
    m_nearFilter.Run(m_near.data(), D);
    m_filter->Run(m_far.data(), m_near.data(), m_out.data());
    for (int i = 0; i < D; ++i) {
        double y = std::floor(32768.0 * m_out[i] + 0.5);
        if (y > 32767.0)
            y = 32767.0;
        else if (y < -32768.0)
            y = -32768.0;
        out[i] = static_cast<int16_t>(y);
    }
    return true;
}

} // namespace SonvexDevice
