#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "AecSubbandFilter.h"
#include "DcHighPass.h"

namespace SonvexDevice {

// Removes the loudspeaker echo from the microphone signal, frame by frame
// (2 ms at 16000 Hz): subband adaptive lattice over the echo path, residual
// echo gain, and a delay watch that shifts the far end or asks the caller to
// drop a block when the two streams slide apart.
class AecCore
{
public:
    AecCore() = default;
    virtual ~AecCore() = default;

    AecCore(const AecCore&) = delete;
    AecCore& operator=(const AecCore&) = delete;

    // rate 8000 or 16000; frame 0.5..10 ms of whole samples; echo path
    // limited to 32..256 ms.
    bool init(int rate, float frameMs, float echoPathMs);
    // False (output untouched) unless samples equals the frame samples; the
    // output may be the near frame itself.
    bool process(const int16_t* far, const int16_t* nearEnd, int16_t* out, int samples);
    // After a frame: +1 drop a near-end block, -1 drop a far-end block, 0 none.
    int SyncRequest() const { return m_syncRequest; }

    int FrameSamples() const { return m_frameSamples; }
    int FarDelay() const { return m_farDelay; }
    void SetResidualGain(bool on);
    const AecSubbandFilter* Filter() const { return m_filter.get(); }

private:
    void Resynchronise();

    std::unique_ptr<AecSubbandFilter> m_filter;
    DcHighPass m_farFilter;
    DcHighPass m_nearFilter;
    std::vector<float> m_far;
    std::vector<float> m_near;
    std::vector<float> m_out;
    int m_rate = 0;
    int m_frameSamples = 0;
    float m_frameMs = 0.0f;
    int m_taps = 0;
    bool m_residualGain = true;
    std::vector<int16_t> m_ring; // stored twice over
    int m_ringSize = 0;
    int m_ringMask = 0;
    int m_write = 0;
    int m_farDelay = 0;
    int m_lastEstimate = -1;
    int m_resyncPeriod = 0;
    int m_countdown = 0;
    int m_syncRequest = 0;
};

} // namespace SonvexDevice
