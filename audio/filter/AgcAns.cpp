#include "AgcAns.h"

#include <cstring>
#include <new>

namespace SonvexFilterCore {

bool AgcAns::init(int rate, int frameMs, bool nsOn, bool agcOn)
{
    m_rate = rate;
    m_frameMs = frameMs;
    m_nsOn = nsOn;
    m_agcOn = agcOn;
    m_work.clear();
    m_highPass.reset();
    if ((rate != 8000 && rate != 16000) || (frameMs != 20 && frameMs != 30))
        return false;
    m_work.assign(static_cast<size_t>(rate * frameMs / 1000), 0);
    m_highPass.reset(new HighPassFilter);
    init_agc(-10.0, -4.0, 14.0);
    init_ans(1);
    return true;
}

bool AgcAns::init_agc(double target, double minGain, double maxGain)
{
    if (m_work.empty() || !AutomaticGainControl::ValidSettings(target, minGain, maxGain))
        return false;
    m_agc.reset(new (std::nothrow) AutomaticGainControl(m_rate, static_cast<int>(m_work.size()),
                                                        target, minGain, maxGain));
    return m_agc != nullptr;
}

bool AgcAns::init_ans(int level)
{
    if (m_work.empty())
        return false;
    m_ns.reset(new (std::nothrow) NoiseSuppressor(m_rate, static_cast<int>(m_work.size()), level));
    return m_ns != nullptr;
}

bool AgcAns::process_frame(const int16_t* in, int16_t* out, int samples)
{
    if (m_work.empty() || !in || !out || samples != static_cast<int>(m_work.size()))
        return false;
    memcpy(m_work.data(), in, m_work.size() * sizeof(int16_t));
    m_highPass->Process(m_work.data(), samples);
    if (m_agc && m_agcOn)
        m_agc->Process(m_work.data());
    if (m_ns && m_nsOn)
        return m_ns->Process(m_work.data(), out, samples);
    memcpy(out, m_work.data(), m_work.size() * sizeof(int16_t));
    return true;
}

} // namespace SonvexFilterCore
