#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "AutomaticGainControl.h"
#include "HighPassFilter.h"
#include "NoiseSuppressor.h"

namespace SonvexFilterCore {

// Cleans and levels captured voice frame by frame: a DC-blocking high-pass,
// then automatic gain control, then noise suppression.
class AgcAns
{
public:
    AgcAns() = default;
    virtual ~AgcAns() = default;

    // rate 8000 or 16000, frame 20 or 30 ms; anything else leaves the object
    // unusable and every later call fails.
    bool init(int rate, int frameMs, bool nsOn, bool agcOn);
    bool init_agc(double target, double minGain, double maxGain);
    bool init_ans(int level);
    // Input and output may be the same buffer.
    bool process_frame(const int16_t* in, int16_t* out, int samples);

    void SetNsOn(bool on) { m_nsOn = on; }
    void SetAgcOn(bool on) { m_agcOn = on; }
    bool IsNsOn() const { return m_nsOn; }
    bool IsAgcOn() const { return m_agcOn; }
    const NoiseSuppressor* GetNs() const { return m_ns.get(); }
    const AutomaticGainControl* GetAgc() const { return m_agc.get(); }

private:
    int m_rate = 0;
    int m_frameMs = 0;
    std::unique_ptr<AutomaticGainControl> m_agc;
    std::unique_ptr<NoiseSuppressor> m_ns;
    std::vector<int16_t> m_work;
    std::unique_ptr<HighPassFilter> m_highPass;
    bool m_nsOn = false;
    bool m_agcOn = false;
};

} // namespace SonvexFilterCore
